"""The process-wide settings: a resolve callback over HTTPS, and the trace."""

import subprocess

import pytest

import webservice


@pytest.fixture
def https_device(simulator, tmp_path):
    """A simulator behind a self-signed certificate."""
    cert, key = tmp_path / "cert.pem", tmp_path / "key.pem"
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj",
                    "/CN=127.0.0.1", "-keyout", str(key), "-out", str(cert)], check=True, capture_output=True)
    sim = simulator("--tls-cert", str(cert), "--tls-key", str(key))
    yield webservice.Device("127.0.0.1", port=sim.port, https=True)
    webservice.set_resolve_callback(None)
    webservice.set_trace_callback(None)


def test_resolve_callback_accepts_a_self_signed_certificate(https_device):
    with pytest.raises(webservice.Error) as failed:
        https_device.get_user_count()
    assert failed.value.status == webservice.Status.HTTP_ERROR
    asked = []

    def accept(error, url):
        asked.append((error, url))
        return error == webservice.Status.INVALID_CA

    webservice.set_resolve_callback(accept)
    assert https_device.get_user_count().value > 0
    assert asked == [(webservice.Status.INVALID_CA, f"https://127.0.0.1:{https_device.port}/soap")]
    webservice.set_resolve_callback(lambda error, url: 1 / 0)  # an exception is no retry
    with pytest.raises(webservice.Error):
        https_device.get_user_count()


def test_trace_sees_each_attempt_with_credentials_masked(https_device):
    exchanges = []
    webservice.set_resolve_callback(lambda error, url: True)
    webservice.set_trace_callback(exchanges.append)
    webservice.Device("127.0.0.1", "admin", "secret", port=https_device.port, https=True).get_user_count()
    webservice.set_trace_callback(None)
    https_device.get_user_count()
    assert [e.http_status for e in exchanges] == [0, 200]  # refused certificate, then the retry
    assert exchanges[0].error == webservice.Status.INVALID_CA
    assert b"GetUserCount" in exchanges[1].request_body and b"<" in exchanges[1].answer_body
    assert "secret" not in exchanges[1].request_headers and "Authorization" in exchanges[1].request_headers

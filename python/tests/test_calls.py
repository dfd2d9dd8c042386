"""Calls of every shape against the simulator, and how failures surface."""

import json
import subprocess
import threading
import time

import pytest

import webservice
from conftest import BUILD


@pytest.mark.parametrize("method, fields, answer_type", [
    ("get_user_count", {}, webservice.IntValueRecord),                     # nothing -> record
    ("get_user_level", {"text": "127.0.0.1"}, webservice.IntValueRecord),  # a bare text
    ("set_ttl", {"value": 64}, webservice.CallResult),                      # a bare integer
    ("get_session_config", {}, webservice.SessionConfigResponseRecord),    # fixed array of records
    ("get_ptz_protocol_list", {}, webservice.PTZProtocolListRecord),       # list of texts
    ("get_default_setting", {"keys": ["serialNumber", "language"]},        # request pointing at texts
     webservice.ParameterListRecord),
    ("control_ptz", {"channel": 1, "items": [{"key": "pan", "value": "1"}]},  # bare resultCode answer
     webservice.ResultCodeAnswer),
    ("remove_smtp_server", {"alias": "none"}, webservice.ResultAnswer),    # bare boolean answer
])
def test_each_shape_of_operation(device, method, fields, answer_type):
    assert type(getattr(device, method)(**fields, check=False)) is answer_type


def test_answers_in_python_types(device):
    users = device.get_user_list()
    assert users.count == len(users.items) == device.get_user_count().value
    admin = users.items[0]
    assert (admin.userID, admin.userLevel) == ("admin", webservice.UserLevel.USER_ADMIN)
    assert device.get_default_setting(keys=["serialNumber"]).items == [
        webservice.ParameterRecord(key="serialNumber", value="SIM-000001")]
    assert device.get_ptz_protocol_list().names == ["SIM-SERIAL-A", "SIM-SERIAL-B"]
    date = device.get_logged_date_list().items[0]
    assert "SetTTL" in device.get_logs(text=date).text  # a text of any length, written by set_ttl above


def test_answers_are_released_before_the_method_returns(device, monkeypatch):
    released = []
    release = webservice._library.release
    monkeypatch.setattr(webservice._library, "release",
                        lambda layout, answer: (released.append(layout.name), release(layout, answer)))
    device.get_user_list()
    device.get_user_count()  # owns nothing
    device.get_event_schedule_list()  # lists within list items
    assert released == ["UserListRecord", "EventScheduleListRecord"]


@pytest.mark.parametrize("operation, fields", [
    ("GetEventScheduleList", {}), ("GetSessionConfig", {}), ("GetPTZProtocolList", {}),
    ("GetVideoEncoderConfig", {"channel": 1, "master": True}), ("GetDeviceInformation", {})])
def test_answers_read_as_wsctl_reads_them(device, operation, fields):
    """The same descriptions through two bindings: the same answer."""
    arguments = [f"{name}={str(value).lower()}" for name, value in fields.items()]
    printed = subprocess.run([str(BUILD / "tools" / "wsctl"), "--port", str(device.port), "--user", "admin",
                              "--password", "admin", operation, *arguments],
                             check=True, capture_output=True, text=True).stdout
    assert device.call(operation, fields).to_dict() == json.loads(printed)


def test_generic_call_in_wsctl_json_shape(device):
    user = {"user": {"userID": "py1", "password": "sécret✓", "userLevel": "USER_NORMAL"}}
    assert device.call("AddUser", user).result is True
    answer = device.call("getuser", {"user": {"userID": "py1"}})
    assert (answer.password, answer.userLevel) == ("sécret✓", webservice.UserLevel.USER_NORMAL)
    answer.userLevel = webservice.UserLevel.USER_POWER
    device.update_user(user=answer)  # an answer fed back as a request
    assert device.get_user(user={"userID": "py1"}).userLevel is webservice.UserLevel.USER_POWER
    device.call("RemoveUser", user={"userID": "py1"})


def test_list_with_nested_arrays_round_trip(device):
    schedule = device.get_event_schedule_list().items[0]
    schedule.notifies = [webservice.EventNotifyRecord(type=webservice.EventNotify(1), id="ftp1"),
                         {"type": "EVENT_NOTIFY_FlashLED", "id": ""}]  # a record or its dict
    schedule.weeks = [webservice.Week.MON, webservice.Week.FRI]
    schedule.start.hour = 6
    device.set_event_schedule(schedule=schedule)
    again = next(item for item in device.get_event_schedule_list().items if item.eventSource == schedule.eventSource)
    assert (again.notifyCount, again.weekCount) == (2, 2)
    schedule.notifyCount, schedule.weekCount = 2, 2
    schedule.notifies[1] = webservice.EventNotifyRecord(type=webservice.EventNotify.EVENT_NOTIFY_FlashLED)
    assert again == schedule


def test_refusal(device):
    with pytest.raises(webservice.Refused) as refused:
        device.get_user(user={"userID": "nobody"})
    assert (refused.value.operation, refused.value.result_code) == ("GetUser", 2)
    assert device.get_user(user={"userID": "nobody"}, check=False).resultCode == 2
    with pytest.raises(webservice.Refused) as refused:
        device.remove_smtp_server(alias="none")  # a false result alone
    assert refused.value.result_code == 0 and refused.value.answer.result is False


def test_failed_calls(device):
    wrong = webservice.Device("127.0.0.1", "admin", "wrong", port=device.port)
    with pytest.raises(webservice.Error) as failed:
        wrong.get_user_count()
    assert failed.value.status == webservice.Status.NO_INPUT  # the simulator answers 401 with no body
    with pytest.raises(webservice.Error) as failed:
        webservice.Device("127.0.0.1", port=1).get_user_count()
    assert (failed.value.status, failed.value.name) == (12029, "WS_STATUS_CANNOT_CONNECT")
    assert failed.value.text == webservice.status_text(12029) and "GetUserCount" in str(failed.value)


@pytest.mark.parametrize("fields, message", [
    ({"user": {"userID": "x" * 100}}, "at most 99 bytes"),  # room for the terminator
    ({"user": {"userID": "a\0b"}}, "NUL"),
    ({"user": {"userLevel": "USER_NOBODY"}}, "not a UserLevel symbol"),
    ({"user": {"userLevel": 2 ** 31}}, "32-bit"),
    ({"user": {"nickname": "x"}}, "unknown field 'user.nickname'"),
])
def test_requests_the_library_must_not_see(fields, message):
    with pytest.raises((ValueError, TypeError), match=message):
        webservice.Device("127.0.0.1", port=1).call("AddUser", fields)


def test_list_count_must_match_its_items():
    with pytest.raises(ValueError, match="holds 1 items"):
        webservice.Device("127.0.0.1", port=1).call("ControlPTZ", channel=1, items=[{"key": "a"}], count=2)


def test_reboot_has_no_answer(simulator):
    sim = simulator("--reboot-seconds", "0")
    assert webservice.Device("127.0.0.1", port=sim.port).reboot() is None


def test_calls_release_the_interpreter(simulator):
    """Four calls to a device that never answers, each with its 1-second
    time-out, overlap: they take about one second, not four."""
    sim = simulator("--fail", "GetMaxChannel:stall")
    stalled = webservice.Device("127.0.0.1", port=sim.port)
    errors = []

    def call():
        try:
            stalled.get_max_channel()
        except webservice.Error as error:
            errors.append(error)

    threads = [threading.Thread(target=call) for _ in range(4)]
    start = time.monotonic()
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    assert len(errors) == 4 and time.monotonic() - start < 3


def test_fleet(simulator):
    sim = simulator("--devices", "8")
    devices = [webservice.Device("127.0.0.1", port=port) for port in sim.ports] + [
        webservice.Device("127.0.0.1", port=1)]
    results = list(webservice.fleet(devices, "GetDefaultSetting", parallel=4, keys=["serialNumber"]))
    assert sorted(r.device.port for r in results) == sorted(d.port for d in devices)
    serials = {r.device.port: r.answer.items[0].value for r in results if r.ok}
    assert serials == {port: f"SIM-{n:06d}" for n, port in enumerate(sim.ports, 1)}
    failed = [r for r in results if not r.ok]
    assert len(failed) == 1 and failed[0].error.status == 12029

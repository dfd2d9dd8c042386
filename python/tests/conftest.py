"""The simulator the tests run against: one process per fixture, on ports it
picks itself, stopped by its own process id."""

import os
import pathlib
import re
import subprocess

import pytest

import webservice

SOURCE = pathlib.Path(__file__).resolve().parents[2]
BUILD = pathlib.Path(os.environ.get("WEBSERVICE_BUILD", SOURCE / "build"))


class Simulator:
    def __init__(self, *arguments):
        self.process = subprocess.Popen([str(BUILD / "sim" / "webservice-sim"), "--port", "0", "--no-port81",
                                         *arguments], stdout=subprocess.PIPE, text=True)
        line = self.process.stdout.readline()
        ready = re.search(r"ready port=(\d+).* ports=(\d+)-(\d+)", line)
        if not ready:
            self.stop()
            raise RuntimeError(f"the simulator did not start: {line!r}")
        self.port = int(ready.group(1))
        self.ports = range(int(ready.group(2)), int(ready.group(3)) + 1)

    def stop(self):
        self.process.terminate()
        self.process.wait(10)


@pytest.fixture
def simulator():
    """Starts simulators with the options given; stops them after the test."""
    started = []

    def start(*arguments):
        started.append(Simulator(*arguments))
        return started[-1]

    yield start
    for sim in started:
        sim.stop()


@pytest.fixture(scope="module")
def device():
    sim = Simulator("--user", "admin", "--password", "admin")
    yield webservice.Device("127.0.0.1", "admin", "admin", port=sim.port)
    sim.stop()

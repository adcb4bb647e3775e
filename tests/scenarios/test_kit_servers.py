"""The loopback web server of the scenario kit serves its faults as announced,
seen by a plain HTTP client (no Wine): later download scenarios rely on them."""

import http.client

import pytest

from kit.servers import WebServer

BODY = bytes(range(256)) * 64  # 16 KiB


def get(server, path="/package.bin"):
    connection = http.client.HTTPConnection("127.0.0.1", server.port, timeout=5)
    try:
        connection.request("GET", path)
        response = connection.getresponse()
        return response.status, response.getheader("Content-Length"), response.read()
    finally:
        connection.close()


@pytest.fixture()
def server():
    with WebServer({"/package.bin": BODY}) as running:
        running.slow_pause = 0.01
        yield running


def test_faults_are_served_in_order_then_the_file(server):
    server.fault("/package.bin", 500, 404)
    assert [get(server)[0] for _ in range(3)] == [500, 404, 200]
    assert get(server, "/other.bin")[0] == 404
    assert server.gets("/package.bin") == 3


def test_a_repeated_fault_never_ends(server):
    server.fault("/package.bin", 404, repeat=True)
    assert {get(server)[0] for _ in range(4)} == {404}


@pytest.mark.parametrize("fault", ["chunked", "slow"])
def test_chunked_and_slow_bodies_arrive_whole(server, fault):
    server.fault("/package.bin", fault)
    status, length, body = get(server)
    assert (status, body) == (200, BODY)
    assert (length is None) == (fault == "chunked")


@pytest.mark.parametrize("fault", ["reset", "truncate"])
def test_reset_and_truncated_answers_fail_the_client(server, fault):
    server.fault("/package.bin", fault)
    with pytest.raises((http.client.HTTPException, ConnectionError)):
        get(server)
    assert get(server)[2] == BODY

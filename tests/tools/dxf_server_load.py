#!/usr/bin/python3
# The reference DXF server under load, on loopback only, in about a minute:
# - 2,000 requests of the heavy design over 32 keep-alive connections, each reply byte for byte what the
#   quiet server answered to the same body, so none is corrupted or handed to the wrong client;
# - with 1,000 idle connections open a request is still answered within 2 s, the server starts no
#   thread for them, and its threads and descriptors are back to their idle figures once they close;
# - a head sent a byte a second is cut off within 30 s, and a body claiming 100 GB is refused at once.
# Usage: dxf_server_load.py TESSARO_CLI DXF_SERVER. Prints one line per problem and the request rate;
# exits 1 on any problem.
import http.client
import os
import resource
import socket
import subprocess
import sys
import threading
import time

HEAVY = ["--fingers-width", "10", "--fingers-depth", "10", "--fingers-height", "10", "--lid", "--cnc",
         "--tool-diameter", "3", "--width-dividers", "20", "--depth-dividers", "20", "--base-slots"]
WIDTHS = range(200, 208)  # a reply handed to the wrong client differs from its own
CONNECTIONS = 32
REQUESTS = 2000
IDLE_CONNECTIONS = 1000
problems = []


def check(ok, problem):
    if not ok:
        problems.append(problem)


def threads_and_descriptors(pid):
    with open(f"/proc/{pid}/status") as status:
        threads = next(int(line.split()[1]) for line in status if line.startswith("Threads:"))
    return threads, len(os.listdir(f"/proc/{pid}/fd"))


def waited(condition):
    """Whether condition held within 5 s."""
    deadline = time.monotonic() + 5
    while not condition() and time.monotonic() < deadline:
        time.sleep(0.05)
    return condition()


def post(connection, body):
    connection.request("POST", "/", body)
    response = connection.getresponse()
    return response.status, response.read(), response.will_close


def load(port, bodies, expected):
    """Each connection cycles through the bodies; returns how many replies were expected ones and how
    many left their connection open. A connection that fails counts no more replies."""
    right = [0] * CONNECTIONS
    kept = [0] * CONNECTIONS

    def client(k):
        connection = http.client.HTTPConnection("127.0.0.1", port, timeout=30)
        for i in range(k, REQUESTS, CONNECTIONS):
            n = (i // CONNECTIONS + k) % len(bodies)
            _, reply, closing = post(connection, bodies[n])
            right[k] += reply == expected[n]
            kept[k] += not closing
        connection.close()

    clients = [threading.Thread(target=client, args=(k,)) for k in range(CONNECTIONS)]
    for c in clients:
        c.start()
    for c in clients:
        c.join()
    return sum(right), sum(kept)


def slow_head(port, outcome):
    """Sends a head a byte a second; outcome gets the seconds until the server ended the connection."""
    client = socket.create_connection(("127.0.0.1", port))
    client.settimeout(1)
    start = time.monotonic()
    for byte in b"POST / HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: application/json\r\nX-Slow: 1\r\n\r\n":
        try:
            client.send(bytes([byte]))
            if client.recv(1) == b"":
                break
        except socket.timeout:
            continue
        except OSError:
            break
    outcome.append(time.monotonic() - start)
    client.close()


def main(cli, server_program):
    # The client's own end of 1,000 connections needs more than the usual 1,024 descriptors too.
    hard = resource.getrlimit(resource.RLIMIT_NOFILE)[1]
    resource.setrlimit(resource.RLIMIT_NOFILE, (min(hard, 4096), hard))
    bodies = [subprocess.run([cli, *HEAVY, "--width", str(w), "--server-json", "-"], capture_output=True,
                             check=True).stdout for w in WIDTHS]
    # Started with room for 256 descriptors only: holding the idle connections shows it raised its own limit.
    server = subprocess.Popen([server_program, "--port", "0"], stdout=subprocess.PIPE, text=True,
                              preexec_fn=lambda: resource.setrlimit(resource.RLIMIT_NOFILE, (256, hard)))
    try:
        port = int(server.stdout.readline().rsplit(":", 1)[1].strip("/\n"))
        idle = threads_and_descriptors(server.pid)
        quiet = [post(http.client.HTTPConnection("127.0.0.1", port, timeout=30), body) for body in bodies]
        check(all(status == 200 for status, _, _ in quiet), "the quiet server refused a heavy request")
        expected = [reply for _, reply, _ in quiet]

        slow = []
        slow_client = threading.Thread(target=slow_head, args=(port, slow))
        slow_client.start()

        start = time.monotonic()
        right, kept = load(port, bodies, expected)
        seconds = time.monotonic() - start
        check(right == REQUESTS, f"{right} of {REQUESTS} replies under load are the quiet server's")
        check(kept == REQUESTS, f"{kept} of {REQUESTS} replies under load kept their connection open")
        print(f"{REQUESTS} heavy requests over {CONNECTIONS} connections: {REQUESTS / seconds:.0f} per second")

        # Dropped by the client before the server's 10 s without progress would end them.
        idlers = [socket.create_connection(("127.0.0.1", port)) for _ in range(IDLE_CONNECTIONS)]
        held = waited(lambda: threads_and_descriptors(server.pid)[1] >= idle[1] + IDLE_CONNECTIONS)
        check(held, f"the server holds {threads_and_descriptors(server.pid)[1] - idle[1]} descriptors more")
        peak = threads_and_descriptors(server.pid)[0]
        asked = time.monotonic()
        status, reply, _ = post(http.client.HTTPConnection("127.0.0.1", port, timeout=30), bodies[0])
        answered = time.monotonic() - asked
        peak = max(peak, threads_and_descriptors(server.pid)[0])
        check(status == 200, f"beside idle connections the request got {status}")
        check(reply == expected[0], "beside idle connections the reply differs from the quiet server's")
        check(answered < 2, f"beside idle connections the request took {answered:.1f} s")
        check(peak <= idle[0], f"{peak} threads with idle connections open, {idle[0]} without")
        for idler in idlers:
            idler.close()

        refused = http.client.HTTPConnection("127.0.0.1", port, timeout=5)
        refused.putrequest("POST", "/")
        refused.putheader("Content-Length", str(100 * 10**9))
        refused.endheaders()
        asked = time.monotonic()
        status = refused.getresponse().status
        check(status == 413, f"a body claiming 100 GB got {status}")
        check(time.monotonic() - asked < 1, "a body claiming 100 GB was not refused at once")
        refused.close()

        slow_client.join(timeout=45)
        # Longer than 10 s shows that the trickle counts as progress; the whole head has 30 s.
        check(slow and 10 < slow[0] <= 31, f"a head sent a byte a second was cut off after {slow} s")
        back = waited(lambda: threads_and_descriptors(server.pid) == idle)
        check(back, f"threads and descriptors {threads_and_descriptors(server.pid)} once all closed, {idle} before")
    finally:
        server.terminate()
        server.wait(timeout=10)
    print("\n".join(problems + [f"{len(problems)} problems"]))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))

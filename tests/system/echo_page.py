# A loopback echo page with three behaviours, chosen by the file MODE_FILE at
# each request: "answer" sends the address line, "silent" accepts and never
# answers, "endless" streams bytes without a line end until the client goes.
# Each request's agent and how it ended are appended to LOG_FILE.
#   echo_page.py PORT MODE_FILE LOG_FILE
import socket
import sys
import threading

port, mode_file, log_file = int(sys.argv[1]), sys.argv[2], sys.argv[3]
lock = threading.Lock()


def log(line):
    with lock, open(log_file, "a") as f:
        f.write(line + "\n")


def serve(conn):
    with conn:
        request = b""
        while b"\r\n\r\n" not in request:
            chunk = conn.recv(4096)
            if not chunk:
                return
            request += chunk
        agent = ""
        for line in request.decode("latin-1").split("\r\n"):
            if line.lower().startswith("user-agent:"):
                agent = line.split(":", 1)[1].strip()
        mode = open(mode_file).read().strip()
        log("request agent=%s mode=%s" % (agent, mode))
        if mode == "answer":
            body = b"Current IP Address: 203.0.113.7<br>\nsecond line\n"
            conn.sendall(b"HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n" + body)
        elif mode == "silent":
            conn.settimeout(60)
            conn.recv(1)  # until the client gives up
            log("silent closed")
        else:
            conn.sendall(b"HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n")
            sent = 0
            try:
                while sent < 1 << 31:
                    conn.sendall(b"x" * 65536)
                    sent += 65536
            except OSError:
                pass
            log("endless closed after %d" % sent)


server = socket.create_server(("127.0.0.1", port))
log("listening")
while True:
    c, _ = server.accept()
    threading.Thread(target=serve, args=(c,), daemon=True).start()

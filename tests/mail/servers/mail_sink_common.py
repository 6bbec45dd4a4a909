"""What the test mail and news servers keep of each message they receive.

For message N in the output folder:
  N.eml   the message as received (dot-unstuffed, CR LF lines)
  N.env   "from ADDRESS", "rcpt ADDRESS" per recipient, "user NAME" when
          logged in, "tls 1" when the session ran over TLS
  N.hdr   every header as "Name: value", encoded words decoded, unfolded
  N.body  the text part, decoded
  N.att/  every attachment under its decoded file name
N.env is written last, so a test waits for it.
"""

import email
import email.policy
import os


def save(folder, number, raw, envelope_lines):
    base = os.path.join(folder, "%04d" % number)
    with open(base + ".eml", "wb") as f:
        f.write(raw)
    msg = email.message_from_bytes(raw, policy=email.policy.default)
    with open(base + ".hdr", "w", encoding="utf-8") as f:
        for name, value in msg.items():
            f.write("%s: %s\n" % (name, str(value).replace("\r", " ").replace("\n", " ")))
    os.makedirs(base + ".att", exist_ok=True)
    body = ""
    for part in msg.walk():
        if part.is_multipart():
            continue
        if part.get_content_disposition() == "attachment":
            name = os.path.basename(part.get_filename() or "unnamed")
            with open(os.path.join(base + ".att", name), "wb") as f:
                f.write(part.get_payload(decode=True))
        elif part.get_content_type() == "text/plain" and not body:
            body = part.get_content()
    with open(base + ".body", "w", encoding="utf-8", newline="") as f:
        f.write(body)
    with open(base + ".tmp", "w", encoding="utf-8") as f:
        f.write("".join(line + "\n" for line in envelope_lines))
    os.rename(base + ".tmp", base + ".env")


def listen():
    """A listening socket on a free loopback port; its port is printed."""
    import socket
    sock = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    sock.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    sock.bind(("127.0.0.1", 0))
    sock.listen(16)
    return sock

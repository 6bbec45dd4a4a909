#!/usr/bin/env python3
"""A mail server for the mail tests: takes every message on a free loopback
port (printed on the first line of its output) and keeps it in a folder as
mail_sink_common describes.

  smtp_sink.py FOLDER [--auth USER:PASSWORD] [--reject TEXT] [--tls CERT KEY]

--auth      offers AUTH PLAIN/LOGIN and requires it, accepting only USER:PASSWORD
--reject    refuses every recipient whose address contains TEXT (550)
--tls       offers STARTTLS with this certificate
"""

import argparse
import asyncio
import ssl
import sys

from aiosmtpd.smtp import SMTP, AuthResult

import mail_sink_common


class Sink:
    def __init__(self, folder, reject):
        self.folder = folder
        self.reject = reject
        self.count = 0

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if self.reject and self.reject in address:
            return "550 5.1.1 <%s>: mailbox unavailable" % address
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        lines = ["from " + envelope.mail_from] + ["rcpt " + r for r in envelope.rcpt_tos]
        if session.authenticated:
            lines.append("user " + session.auth_data)
        if session.ssl is not None:
            lines.append("tls 1")
        mail_sink_common.save(self.folder, self.count, envelope.original_content, lines)
        return "250 2.0.0 Message accepted"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("folder")
    parser.add_argument("--auth")
    parser.add_argument("--reject")
    parser.add_argument("--tls", nargs=2)
    args = parser.parse_args()

    def authenticator(server, session, envelope, mechanism, auth_data):
        wanted = args.auth.split(":", 1)
        login = auth_data.login.decode()
        ok = [login, auth_data.password.decode()] == wanted
        if not ok:
            return AuthResult(success=False, handled=False)  # answers 535
        return AuthResult(success=True, auth_data=login)

    tls = None
    if args.tls:
        tls = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        tls.load_cert_chain(args.tls[0], args.tls[1])

    sink = Sink(args.folder, args.reject)
    loop = asyncio.new_event_loop()
    sock = mail_sink_common.listen()
    factory = lambda: SMTP(sink, hostname="sink.test", decode_data=False,
                           authenticator=authenticator if args.auth else None,
                           auth_required=bool(args.auth), auth_require_tls=False,
                           tls_context=tls)
    loop.run_until_complete(loop.create_server(factory, sock=sock))
    print(sock.getsockname()[1], flush=True)
    loop.run_forever()


if __name__ == "__main__":
    sys.exit(main())

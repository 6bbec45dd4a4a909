#!/usr/bin/env python3
"""A news server for the mail tests: answers the commands a poster uses
(AUTHINFO USER/PASS, POST, QUIT) on a free loopback port (printed on the
first line of its output) and keeps each article in a folder as
mail_sink_common describes.

  nntp_sink.py FOLDER [--auth USER:PASSWORD] [--greeting LINE] [--reject-article]

--auth             POST needs AUTHINFO with USER:PASSWORD first (480 otherwise)
--greeting         the first line sent, instead of "200 sink ready"
--reject-article   answers a posted article with 441
"""

import argparse
import asyncio
import sys

import mail_sink_common


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("folder")
    parser.add_argument("--auth")
    parser.add_argument("--greeting", default="200 sink ready, posting allowed")
    parser.add_argument("--reject-article", action="store_true")
    args = parser.parse_args()
    count = [0]

    async def session(reader, writer):
        def send(line):
            writer.write((line + "\r\n").encode())

        send(args.greeting)
        user, logged_in = None, False
        while True:
            raw = await reader.readline()
            if not raw:
                break
            line = raw.decode("utf-8", "replace").rstrip("\r\n")
            word = line.upper()
            if word.startswith("AUTHINFO USER "):
                user = line[len("AUTHINFO USER "):]
                send("381 password required")
            elif word.startswith("AUTHINFO PASS "):
                logged_in = args.auth is not None and [user, line[len("AUTHINFO PASS "):]] == args.auth.split(":", 1)
                send("281 authentication accepted" if logged_in else "481 authentication failed")
            elif word == "POST":
                if args.auth and not logged_in:
                    send("480 authentication required")
                    continue
                send("340 send article")
                await writer.drain()
                lines = []
                while True:
                    raw = await reader.readline()
                    if not raw or raw == b".\r\n":
                        break
                    lines.append(raw[1:] if raw.startswith(b"..") else raw)
                if args.reject_article:
                    send("441 posting failed: no such newsgroup")
                    continue
                count[0] += 1
                envelope = ["user " + user] if logged_in else []
                mail_sink_common.save(args.folder, count[0], b"".join(lines), envelope)
                send("240 article posted")
            elif word == "QUIT":
                send("205 closing")
                await writer.drain()
                break
            else:
                send("500 unknown command")
            await writer.drain()
        writer.close()

    loop = asyncio.new_event_loop()
    sock = mail_sink_common.listen()
    loop.run_until_complete(asyncio.start_server(session, sock=sock))
    print(sock.getsockname()[1], flush=True)
    loop.run_forever()


if __name__ == "__main__":
    sys.exit(main())

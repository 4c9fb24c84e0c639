#!/usr/bin/python3
"""A throw-away SMTP server for the tests of the electronic slips: aiosmtpd on 127.0.0.1 with STARTTLS
(required) on a certificate made for the run and AUTH (required, over TLS only). Each message accepted is
kept in DIR as NNNNN.eml, with NNNNN.json (what Python's email package decodes of it) and the attachments
as NNNNN-K.bin. Prints "READY <port> <certificate file>" when it listens; ends when stdin closes or on
SIGTERM.

  --refuse ADDR   answer RCPT TO:<ADDR> with 550
  --drop-at N     close the connection when the Nth message's recipient arrives (once)
  --count-only    keep nothing of the messages, only count them (for the benchmark)
  --delay S       wait S seconds before answering each message's data
  --drop-after-queue N   answer the Nth message with 250 and close the connection right after (once)
  --silent-at N   never answer the Nth message's data (the connection stays open)
"""
import argparse
import asyncio
import email
import email.policy
import json
import os
import signal
import socket
import ssl
import subprocess
import sys
import threading
import warnings

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult, LoginPassword


def make_certificate(folder):
    key = os.path.join(folder, "server-key.pem")
    cert = os.path.join(folder, "server-cert.pem")
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", cert,
                    "-days", "2", "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1"],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return cert, key


class Handler:
    def __init__(self, args):
        self.args = args
        self.recipients = 0
        self.messages = 0
        self.dropped = False

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address in self.args.refuse:
            return "550 5.1.1 <%s>: Recipient address rejected: User unknown" % address
        self.recipients += 1
        if self.args.drop_at and self.recipients == self.args.drop_at and not self.dropped:
            self.dropped = True
            server.transport.close()
            return "421 4.3.0 closing"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        if self.args.silent_at and self.messages + 1 == self.args.silent_at:
            self.args.silent_at = 0
            await asyncio.sleep(3600)
        if self.args.delay:
            await asyncio.sleep(self.args.delay)
        self.messages += 1
        n = self.messages
        if self.args.drop_after_queue == n:
            asyncio.get_running_loop().call_later(0.05, server.transport.close)
        if self.args.count_only:
            return "250 OK queued as %05d" % n
        stem = os.path.join(self.args.dir, "%05d" % n)
        raw = envelope.original_content
        message = email.message_from_bytes(raw, policy=email.policy.default)
        info = {
            "mail_from": envelope.mail_from,
            "rcpt_tos": envelope.rcpt_tos,
            "authenticated": bool(session.authenticated),
            "tls": session.ssl is not None,
            "subject": str(message["subject"]),
            "from_name": message["from"].addresses[0].display_name,
            "from_address": message["from"].addresses[0].addr_spec,
            "to_name": message["to"].addresses[0].display_name,
            "to_address": message["to"].addresses[0].addr_spec,
            "message_id": str(message["message-id"]),
            "body": "",
            "attachments": [],
        }
        for part in message.walk():
            if part.is_multipart():
                continue
            if part.get_content_disposition() == "attachment":
                k = len(info["attachments"]) + 1
                with open("%s-%d.bin" % (stem, k), "wb") as f:
                    f.write(part.get_content())
                info["attachments"].append({"filename": part.get_filename(),
                                            "content_type": part.get_content_type()})
            elif part.get_content_type() == "text/plain":
                info["body"] = part.get_content()
        with open(stem + ".eml", "wb") as f:
            f.write(raw)
        with open(stem + ".json.part", "w", encoding="utf-8") as f:
            json.dump(info, f, ensure_ascii=False)
        os.rename(stem + ".json.part", stem + ".json")
        return "250 OK queued as %05d" % n


def main():
    warnings.simplefilter("ignore")
    parser = argparse.ArgumentParser()
    parser.add_argument("--dir", required=True)
    parser.add_argument("--user", default="payroll")
    parser.add_argument("--password", default="s3cret-口令")
    parser.add_argument("--refuse", action="append", default=[])
    parser.add_argument("--drop-at", type=int, default=0)
    parser.add_argument("--count-only", action="store_true")
    parser.add_argument("--delay", type=float, default=0)
    parser.add_argument("--drop-after-queue", type=int, default=0)
    parser.add_argument("--silent-at", type=int, default=0)
    args = parser.parse_args()
    os.makedirs(args.dir, exist_ok=True)
    cert, key = make_certificate(args.dir)
    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(cert, key)

    def authenticate(server, session, envelope, mechanism, auth_data):
        ok = (isinstance(auth_data, LoginPassword) and auth_data.login == args.user.encode()
              and auth_data.password == args.password.encode())
        return AuthResult(success=ok)

    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        port = probe.getsockname()[1]
    handler = Handler(args)
    controller = Controller(handler, hostname="127.0.0.1", port=port, tls_context=context,
                            require_starttls=True, authenticator=authenticate, auth_required=True,
                            auth_require_tls=True, data_size_limit=10 * 1024 * 1024)
    controller.start()
    print("READY %d %s" % (port, cert), flush=True)
    done = threading.Event()
    signal.signal(signal.SIGTERM, lambda *_: done.set())
    threading.Thread(target=lambda: (sys.stdin.read(), done.set()), daemon=True).start()
    done.wait()
    controller.stop()
    print("MESSAGES %d" % handler.messages, flush=True)


if __name__ == "__main__":
    main()

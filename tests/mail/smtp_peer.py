"""A real SMTP peer on loopback for the mail tests (aiosmtpd).

Listens on 127.0.0.1, each server on a port the system picks:
  plain     no TLS and no login, takes any message
  starttls  offers STARTTLS, requires it and a login over it; offers LOGIN only
  tls       TLS from the first byte, requires a login; offers PLAIN only
  silent    accepts the connection and never says a word
  mute      takes the whole message after DATA but never confirms it

When ready it prints one JSON line with the ports. It ends when its standard
input is closed (the test ends or dies).

Every message accepted is saved in --dir as NNN.eml (the bytes received after
DATA) and NNN.json (envelope, login and the message as Python's email package
reads it: decoded addresses and subject, each leaf part's decoded bytes in
base64, parser defects, longest line, stray CR or LF). events.log gets one
line per EHLO, AUTH and RCPT, so a test can count connections and tries.

Addresses steer refusals: a recipient starting with "tempfail" gets 451, one
starting with "reject" gets 550; a sender starting with "recusado" gets 553
at MAIL, one starting with "semdados" gets 554 after the data.
"""

import argparse
import asyncio
import base64
import email
import email.policy
import json
import logging
import os
import ssl
import sys
import warnings

from aiosmtpd.smtp import SMTP, AuthResult


class Recorder:
    def __init__(self, kind, outdir, user, password):
        self.kind = kind
        self.outdir = outdir
        self.user = user.encode()
        self.password = password.encode()

    def event(self, text):
        with open(os.path.join(self.outdir, "events.log"), "a", encoding="utf-8") as f:
            f.write(f"{text}\n")

    def authenticate(self, server, session, envelope, mechanism, auth_data):
        login = getattr(auth_data, "login", b"") or b""
        self.event(f"AUTH {self.kind} {mechanism} {login.decode(errors='replace')}")
        if login == self.user and getattr(auth_data, "password", None) == self.password:
            session.cp_mechanism = mechanism
            session.cp_user = login.decode()
            return AuthResult(success=True)
        return AuthResult(success=False, handled=False,
                          message="535 5.7.8 Usuario ou senha invalidos (servidor de teste)")

    async def handle_EHLO(self, server, session, envelope, hostname, responses):
        self.event(f"EHLO {self.kind}")
        session.host_name = hostname
        return responses

    async def handle_MAIL(self, server, session, envelope, address, mail_options):
        if address.startswith("recusado"):
            return "553 5.7.1 Remetente nao autorizado"
        envelope.mail_from = address
        envelope.mail_options.extend(mail_options)
        return "250 OK"

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        self.event(f"RCPT {self.kind} {address}")
        if address.startswith("tempfail"):
            return "451 4.3.0 Caixa ocupada, tente mais tarde"
        if address.startswith("reject"):
            return "550 5.1.1 Destinatario desconhecido"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        if envelope.mail_from.startswith("semdados"):
            return "554 5.6.0 Mensagem recusada pelo filtro"
        raw = envelope.original_content
        number = len([n for n in os.listdir(self.outdir) if n.endswith(".eml")]) + 1
        stem = os.path.join(self.outdir, f"{number:03d}")
        tls = bool(session.ssl) or server.transport.get_extra_info("ssl_object") is not None
        info = describe(raw)
        info.update({
            "kind": self.kind,
            "tls": tls,
            "auth_mechanism": getattr(session, "cp_mechanism", ""),
            "auth_user": getattr(session, "cp_user", ""),
            "mail_from": envelope.mail_from,
            "rcpt_tos": envelope.rcpt_tos,
        })
        with open(stem + ".eml.part", "wb") as f:
            f.write(raw)
        with open(stem + ".json.part", "w", encoding="utf-8") as f:
            json.dump(info, f, ensure_ascii=False, indent=1)
        os.replace(stem + ".json.part", stem + ".json")
        os.replace(stem + ".eml.part", stem + ".eml")
        return "250 2.0.0 Mensagem aceita"


def addresses(header):
    if header is None:
        return []
    return [{"name": a.display_name, "address": a.addr_spec} for a in header.addresses]


def describe(raw):
    msg = email.message_from_bytes(raw, policy=email.policy.default)
    defects = []
    parts = []
    for part in msg.walk():
        defects += [type(d).__name__ for d in part.defects]
        for name in part.keys():
            defects += [f"{name}: {type(d).__name__}" for d in getattr(part[name], "defects", ())]
        if part.is_multipart():
            continue
        parts.append({
            "type": part.get_content_type(),
            "charset": part.get_content_charset() or "",
            "filename": part.get_filename() or "",
            "disposition": part.get_content_disposition() or "",
            "encoding": str(part.get("Content-Transfer-Encoding", "")),
            "data": base64.b64encode(part.get_payload(decode=True) or b"").decode(),
        })
    lines = raw.split(b"\r\n")
    date = msg["Date"]
    return {
        "header_names": list(msg.keys()),
        "from": addresses(msg["From"]),
        "to": addresses(msg["To"]),
        "subject": str(msg["Subject"]) if msg["Subject"] is not None else None,
        "date": str(date) if date is not None else "",
        "date_iso": date.datetime.isoformat() if date is not None and date.datetime else "",
        "message_id": str(msg["Message-ID"] or ""),
        "structure": [p.get_content_type() for p in msg.walk()],
        "parts": parts,
        "defects": defects,
        "max_line": max(len(line) for line in lines),
        "stray_line_ends": any(b"\n" in line or b"\r" in line for line in lines),
    }


class Silent(asyncio.Protocol):
    held = []

    def connection_made(self, transport):
        Silent.held.append(transport)

    def data_received(self, data):
        pass


class Mute(asyncio.Protocol):
    def connection_made(self, transport):
        self.transport = transport
        self.buffer = b""
        self.in_data = False
        transport.write(b"220 smtp.teste.local mudo\r\n")

    def data_received(self, data):
        self.buffer += data
        while b"\r\n" in self.buffer:
            line, self.buffer = self.buffer.split(b"\r\n", 1)
            if self.in_data:
                continue  # the message and its final dot: read, never answered
            verb = line[:4].upper()
            if verb == b"DATA":
                self.in_data = True
                self.transport.write(b"354 Pode enviar\r\n")
            elif verb == b"QUIT":
                self.transport.write(b"221 Tchau\r\n")
                self.transport.close()
            else:
                self.transport.write(b"250 OK\r\n")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--dir", required=True)
    ap.add_argument("--cert", required=True)
    ap.add_argument("--key", required=True)
    ap.add_argument("--user", required=True)
    ap.add_argument("--password", required=True)
    args = ap.parse_args()
    # The server's own chatter (and its warning about a login on the TLS
    # port, which is TLS anyway) would only clutter the test's output.
    warnings.simplefilter("ignore")
    logging.getLogger("mail.log").setLevel(logging.CRITICAL)

    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(args.cert, args.key)

    loop = asyncio.new_event_loop()
    asyncio.set_event_loop(loop)
    name = "smtp.teste.local"  # no lookup of the machine's own name

    def factory(kind, **kw):
        recorder = Recorder(kind, args.dir, args.user, args.password)
        return lambda: SMTP(recorder, hostname=name, loop=loop,
                            authenticator=recorder.authenticate, **kw)

    servers = {
        "plain": (factory("plain"), None),
        "starttls": (factory("starttls", tls_context=context, require_starttls=True,
                             auth_required=True, auth_exclude_mechanism=["PLAIN"]), None),
        "tls": (factory("tls", auth_required=True, auth_require_tls=False,
                        auth_exclude_mechanism=["LOGIN"]), context),
        "silent": (Silent, None),
        "mute": (Mute, None),
    }
    ports = {}
    for kind, (make, tls) in servers.items():
        server = loop.run_until_complete(loop.create_server(make, "127.0.0.1", 0, ssl=tls))
        ports[kind] = server.sockets[0].getsockname()[1]

    def stdin_ready():
        if not os.read(sys.stdin.fileno(), 4096):
            loop.stop()

    loop.add_reader(sys.stdin.fileno(), stdin_ready)
    print(json.dumps(ports), flush=True)
    loop.run_forever()


if __name__ == "__main__":
    main()

#!/usr/bin/python3
"""Stand-in for the public services on loopback, for the web tests.

Speaks the postcode service (GET /ws/<cep>/json/), the open company data
service (GET /api/cnpj/v1/<cnpj>) and a captcha-protected form service
(GET /captcha, POST /cpf/consulta, POST /cnpj/consulta). Which answer comes
back depends on the number asked for (see the tables below): found, not
found, malformed, HTTP errors, rate limiting, an answer that never comes, an
answer that trickles in. A request with an absolute address (the way a client
talks to a proxy) is served too, so the same server acts as the proxy.

Prints the port it listens on as its first line, then serves until killed or
until its standard input closes (the test that started it is gone, even if it
crashed).
"""

import json
import os
import secrets
import struct
import sys
import threading
import time
import urllib.parse
import zlib
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

CAPTCHA_TEXT = "XK7P2"
SESSIONS = set()
LAST_FORM = {}
LOCK = threading.Lock()


def png(width, height):
    """A small grey PNG, enough for a captcha box to show."""
    row = b"\x00" + b"\xc0\xc0\xc0" * width
    raw = row * height

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw))
            + chunk(b"IEND", b""))


CAPTCHA_PNG = png(120, 40)

CEPS = {
    "01001000": {"cep": "01001-000", "logradouro": "Praça da Sé", "complemento": "lado ímpar",
                 "unidade": "", "bairro": "Sé", "localidade": "São Paulo", "uf": "SP",
                 "estado": "São Paulo", "regiao": "Sudeste", "ibge": "3550308", "gia": "1004",
                 "ddd": "11", "siafi": "7107"},
    # a clone of the service that sends the IBGE code as a number
    "70040010": {"cep": "70040-010", "logradouro": "SBN Quadra 1", "complemento": "",
                 "bairro": "Asa Norte", "localidade": "Brasília", "uf": "DF", "ibge": 5300108},
    "99999999": {"erro": True},
    "99999998": {"erro": "true"},
    "87654321": [],
    "11111110": {"cep": "11111-110", "logradouro": "Rua Sem Cidade"},
}

COMPANIES = {
    "19131243000197": {
        "uf": "SP", "cep": "01311902", "cnpj": "19131243000197", "email": "contato@ok.org.br",
        "porte": "DEMAIS", "bairro": "BELA  VISTA", "numero": "37", "municipio": "SAO PAULO",
        "logradouro": "PAULISTA", "cnae_fiscal": 9430800, "complemento": "ANDAR 4  SALA 2",
        "razao_social": "OPEN  KNOWLEDGE   BRASIL ",
        "nome_fantasia": " REDE PELO CONHECIMENTO LIVRE", "ddd_telefone_1": "1123851939",
        "cnaes_secundarios": [
            {"codigo": 9493600,
             "descricao": "Atividades de organizações associativas ligadas à cultura e à arte"},
            {"codigo": 6201501,
             "descricao": "Desenvolvimento de programas de computador  sob encomenda"}],
        "natureza_juridica": "Associação Privada",
        "cnae_fiscal_descricao": "Atividades de associações de defesa de direitos sociais",
        "data_inicio_atividade": "2013-10-03", "descricao_situacao_cadastral": "ATIVA",
        "descricao_tipo_de_logradouro": "AVENIDA",
        "descricao_identificador_matriz_filial": "MATRIZ"},
    # nulls, numbers that lost their leading zeros, the empty secondary
    # activity placeholder, the street type already inside the street
    "06990590000123": {
        "razao_social": "AGROPECUARIA EXEMPLO LTDA", "nome_fantasia": None,
        "descricao_tipo_logradouro": "RUA", "logradouro": "RUA DAS FLORES", "numero": "S/N",
        "complemento": None, "bairro": "CENTRO", "municipio": "CAMPINAS", "uf": "SP",
        "cep": 1311000, "descricao_situacao_cadastral": "BAIXADA",
        "data_inicio_atividade": None, "cnae_fiscal": 111301,
        "cnae_fiscal_descricao": "Cultivo de arroz",
        "cnaes_secundarios": [{"codigo": 0, "descricao": ""}],
        "ddd_telefone_1": "19987654321", "email": None, "identificador_matriz_filial": 2},
    "12ABC34501DE35": {
        "razao_social": "ALFANUMERICA SERVICOS LTDA", "municipio": "CURITIBA", "uf": "PR",
        "descricao_identificador_matriz_filial": "MATRIZ"},
    "66666666000166": {"nome_fantasia": "SEM RAZAO"},
    # texts longer than the supplier's columns
    "12345678000195": {
        "razao_social": "COMPANHIA BRASILEIRA DE DISTRIBUICAO DE PRODUTOS ALIMENTICIOS E BEBIDAS",
        "nome_fantasia": "SUPERMERCADOS UNIDOS DO ESTADO DO RIO DE JANEIRO LTDA",
        "descricao_tipo_de_logradouro": "AVENIDA",
        "logradouro": "PRESIDENTE JUSCELINO KUBITSCHEK DE OLIVEIRA", "numero": "1234567890123",
        "complemento": "BLOCO B TORRE NORTE CONJUNTO 1501", "bairro": "BARRA DA TIJUCA JARDIM OCEANICO",
        "municipio": "RIO DE JANEIRO", "uf": "RJ", "cep": "22640100",
        "descricao_situacao_cadastral": "SUSPENSA POR INCONSISTENCIA",
        "data_inicio_atividade": "1999-12-31", "cnae_fiscal": 4711302,
        "cnae_fiscal_descricao": "Comércio varejista de mercadorias em geral",
        "cnaes_secundarios": [], "ddd_telefone_1": "2133334444",
        "email": "atendimento.fornecedores.distribuicao@supermercadosunidos.com.br",
        "descricao_identificador_matriz_filial": "FILIAL"},
}

FORM_COMPANY = {
    "19131243000197": {
        "EmpresaTipo": "MATRIZ", "Abertura": "03/10/2013",
        "RazaoSocial": "OPEN  KNOWLEDGE BRASIL", "Fantasia": "REDE PELO CONHECIMENTO LIVRE",
        "Endereco": "AV PAULISTA", "Numero": "37", "Complemento": "ANDAR 4", "Bairro": "BELA VISTA",
        "Cidade": "SAO PAULO", "UF": "SP", "CEP": "01311902", "Situacao": "ATIVA",
        "CNAE1": "94.30-8-00 - Atividades de associações de defesa de direitos sociais",
        "CNAE2": ["94.93-6-00 - Atividades de organizações associativas ligadas à cultura e à arte",
                  "62.01-5-01 - Desenvolvimento de programas de computador sob encomenda"],
        "EndEletronico": "contato@ok.org.br", "Telefone": "(11) 2385-1939"},
    # a postcode sent with its hyphen, a city the cities list does not hold
    "06990590000123": {
        "EmpresaTipo": "FILIAL", "Abertura": "15/01/2001", "RazaoSocial": "AGROPECUARIA EXEMPLO LTDA",
        "Fantasia": "", "Endereco": "RUA DAS FLORES", "Numero": "S/N", "Complemento": "",
        "Bairro": "CENTRO", "Cidade": "CAMPINAS", "UF": "SP", "CEP": "13010-111",
        "Situacao": "BAIXADA", "CNAE1": "01.11-3-01 - Cultivo de arroz", "CNAE2": [],
        "EndEletronico": "", "Telefone": "(19) 98765-4321"},
    "12ABC34501DE35": {
        "RazaoSocial": "ALFANUMERICA SERVICOS LTDA", "Abertura": "2026-07-01",
        "CNAE2": "62.01-5-01 - Desenvolvimento\r\n63.11-9-00 - Tratamento de dados\r\n"},
}

PEOPLE = {
    ("12345678909", "01/02/1980"): {
        "Nome": "FULANO  DE TAL", "Situacao": "REGULAR",
        "Emissao": "10:15:30 do dia 05/03/2026", "CodCtrlControle": "ABCD.1234.EF56.7890",
        "DigitoVerificador": "00", "DataInscricao": "01/02/1998"},
}


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def send(self, status, body, content_type="application/json; charset=utf-8", headers=()):
        if not isinstance(body, bytes):
            body = json.dumps(body, ensure_ascii=False).encode("utf-8")
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        for name, value in headers:
            self.send_header(name, value)
        self.end_headers()
        self.wfile.write(body)

    def stall(self):
        """Accepts the request and never answers in time."""
        time.sleep(5)
        self.close_connection = True

    def trickle(self):
        """Headers at once, then a byte at a time: the transfer never idles."""
        body = json.dumps(CEPS["01001000"]).encode()
        self.send_response(200)
        self.send_header("Content-Type", "application/json")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        for i in range(len(body)):
            self.wfile.write(body[i:i + 1])
            self.wfile.flush()
            time.sleep(0.2)

    def route(self):
        target = self.path
        if target.startswith("http://"):  # asked as a proxy
            target = urllib.parse.urlsplit(target).path
        return target.split("?")[0]

    def session(self):
        cookies = self.headers.get("Cookie", "")
        for part in cookies.split(";"):
            name, _, value = part.strip().partition("=")
            if name == "sessao":
                return value
        return None

    def do_GET(self):
        try:
            self.serve_get(self.route())
        except (BrokenPipeError, ConnectionResetError):
            pass

    def do_POST(self):
        try:
            length = int(self.headers.get("Content-Length", "0"))
            form = dict(urllib.parse.parse_qsl(self.rfile.read(length).decode("utf-8"),
                                               keep_blank_values=True))
            self.serve_post(self.route(), form)
        except (BrokenPipeError, ConnectionResetError):
            pass

    def serve_get(self, path):
        parts = [p for p in path.split("/") if p]
        if len(parts) == 3 and parts[0] == "ws" and parts[2] == "json":
            cep = parts[1]
            if cep == "55555555":
                return self.stall()
            if cep == "66666666":
                return self.trickle()
            if cep == "12345678":
                return self.send(200, b"<html><body>Servico fora</body></html>", "text/html")
            if cep == "50000000":
                return self.send(500, b"Internal Server Error", "text/plain")
            if cep in CEPS:
                return self.send(200, CEPS[cep])
            return self.send(400, b"<h1>Bad Request</h1>", "text/html")
        if len(parts) == 4 and parts[:3] == ["api", "cnpj", "v1"]:
            cnpj = parts[3]
            if cnpj == "44444444000144":
                return self.stall()
            if cnpj == "11111111000111":
                return self.send(429, {"message": "Too many requests"},
                                 headers=[("Retry-After", "30")])
            if cnpj == "22222222000122":
                return self.send(429, {"message": "Too many requests"})
            if cnpj == "33333333000133":
                return self.send(200, b'{"razao_social": "TRUNCA')
            if cnpj == "55555555000155":
                return self.send(400, {"message": "CNPJ 55555555000155 inválido.",
                                       "type": "bad_request", "name": "BadRequestError"})
            if cnpj in COMPANIES:
                return self.send(200, COMPANIES[cnpj])
            return self.send(404, {"message": "CNPJ %s não encontrado." % cnpj,
                                   "type": "not_found", "name": "NotFoundError"})
        if path == "/captcha":
            token = secrets.token_hex(8)
            with LOCK:
                SESSIONS.add(token)
            return self.send(200, CAPTCHA_PNG, "image/png",
                             [("Set-Cookie", "sessao=%s; Path=/; HttpOnly" % token)])
        if path == "/captcha-texto":
            return self.send(200, b"captcha indisponivel", "text/plain")
        if path == "/captcha-429":
            return self.send(429, b"", "text/plain", [("Retry-After", "5")])
        if path == "/grande":
            return self.send(200, b"x" * (256 * 1024), "text/plain")
        if path == "/ultimo":
            with LOCK:
                return self.send(200, LAST_FORM)
        return self.send(404, {"message": "rota desconhecida"})

    def serve_post(self, path, form):
        with LOCK:
            LAST_FORM.clear()
            LAST_FORM.update(form)
            known = self.session() in SESSIONS
        if path not in ("/cpf/consulta", "/cnpj/consulta"):
            return self.send(404, {"message": "rota desconhecida"})
        if not known:
            return self.send(403, {"erro": "sessao"})
        if form.get("captcha") != CAPTCHA_TEXT:
            return self.send(200, {"erro": "captcha"})
        if path == "/cnpj/consulta":
            found = FORM_COMPANY.get(form.get("cnpj", ""))
            return self.send(200, found) if found else self.send(404, {"erro": "nao_encontrado"})
        cpf, born = form.get("cpf", ""), form.get("nascimento", "")
        if (cpf, born) in PEOPLE:
            return self.send(200, PEOPLE[(cpf, born)])
        if any(key[0] == cpf for key in PEOPLE):
            return self.send(200, {"erro": "dados", "mensagem":
                                   "Data de nascimento divergente da constante na base de dados."})
        return self.send(200, {"erro": "nao_encontrado"})


def main():
    server = ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    print(server.server_address[1], flush=True)

    def orphaned():
        sys.stdin.read()
        os._exit(0)

    threading.Thread(target=orphaned, daemon=True).start()
    server.serve_forever()


if __name__ == "__main__":
    sys.exit(main())

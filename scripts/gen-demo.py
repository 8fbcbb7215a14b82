#!/usr/bin/env python3
"""Writes src/schema/demo.sql, the demo data that scripts/run loads into an
empty database after schema.sql.

Not needed at run time: demo.sql is committed. Run this again only to change
the demo data:  python3 scripts/gen-demo.py > src/schema/demo.sql

Every date is written relative to CURDATE(), so whenever the file is loaded
the payables list shows bills due today, overdue, paid and so on. The output
is deterministic (fixed random seed). Texts are cut to their column widths
the same way the program's screens cut them.
"""
import random
import sys

rnd = random.Random(20240611)
out = []


def emit(s=''):
    out.append(s)


# --------------------------------------------------------------------------
# helpers

def d(n):
    """A date n days from the load day."""
    if n == 0:
        return 'CURDATE()'
    return 'CURDATE() %s INTERVAL %d DAY' % ('+' if n > 0 else '-', abs(n))


def q(v):
    if v is None:
        return 'NULL'
    if isinstance(v, Raw):
        return v.s
    if isinstance(v, float):
        return ('%.2f' % v)
    if isinstance(v, int):
        return str(v)
    s = str(v)
    assert ';' not in s and '\\' not in s and '\n' not in s, s
    return "'" + s.replace("'", "''") + "'"


class Raw:
    def __init__(self, s):
        self.s = s


def D(n):
    return Raw(d(n))


def insert(table, cols, rows, chunk=60):
    """Multi-row INSERTs, one row per line."""
    for i in range(0, len(rows), chunk):
        part = rows[i:i + chunk]
        emit('INSERT INTO %s (%s) VALUES' % (table, ', '.join(cols)))
        lines = []
        for r in part:
            assert len(r) == len(cols), (table, r)
            lines.append('  (' + ', '.join(q(v) for v in r) + ')')
        emit(',\n'.join(lines) + ';')
        emit()


def dv11(digits, weights):
    s = sum(int(a) * b for a, b in zip(digits, weights))
    r = s % 11
    return '0' if r < 2 else str(11 - r)


def cnpj(base8, branch='0001'):
    n = base8 + branch
    n += dv11(n, [5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2])
    n += dv11(n, [6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2])
    return n


def fmt_cnpj(n):
    return '%s.%s.%s/%s-%s' % (n[0:2], n[2:5], n[5:8], n[8:12], n[12:14])


def cpf(base9):
    n = base9
    n += dv11(n, range(10, 1, -1))
    n += dv11(n, range(11, 1, -1))
    return n


def fmt_cpf(n):
    return '%s.%s.%s-%s' % (n[0:3], n[3:6], n[6:9], n[9:11])


def money(x):
    # half away from zero at 2 decimals, as the program rounds
    from decimal import Decimal, ROUND_HALF_UP
    return float(Decimal(repr(x)).quantize(Decimal('0.01'), rounding=ROUND_HALF_UP))


def hora():
    return '%02d:%02d:%02d' % (rnd.randint(8, 17), rnd.randint(0, 59), rnd.randint(0, 59))


# --------------------------------------------------------------------------
# registries

COMPANY_CNPJ = cnpj('%08d' % random.Random(4242).randint(10**7, 10**8 - 1))
configuracao = [('Comercial Horizonte Ltda', 'Av. Doutor Moraes Salles, 1480', 'Centro',
                 'Campinas', 'SP', '13010002', '(19) 3232-4500', '(19) 3232-4501',
                 '(19) 3232-4599', 'financeiro@horizontecomercial.com.br',
                 'Comércio varejista', None, COMPANY_CNPJ, '244186532115')]

filiais = [  # code, name
    (1, 'MATRIZ CAMPINAS'),
    (2, 'FILIAL JUNDIAÍ'),
    (3, 'FILIAL PIRACICABA'),
]

gerenciais = [
    (1, 'ADMINISTRATIVO'), (2, 'COMERCIAL'), (3, 'LOGÍSTICA'), (4, 'FINANCEIRO'),
    (5, 'RECURSOS HUMANOS'), (6, 'MANUTENÇÃO'), (7, 'TECNOLOGIA DA INFORMAÇÃO'),
    (8, 'MARKETING'), (9, 'COMPRAS'), (10, 'DIRETORIA'),
]
G = dict(gerenciais)

despesas = [
    (1, 'ALUGUEL'), (2, 'ENERGIA ELÉTRICA'), (3, 'ÁGUA E ESGOTO'),
    (4, 'TELEFONIA E INTERNET'), (5, 'MERCADORIAS PARA REVENDA'),
    (6, 'MATERIAL DE ESCRITÓRIO'), (7, 'MATERIAL DE LIMPEZA'), (8, 'FRETES'),
    (9, 'IMPOSTOS E TAXAS'), (10, 'SERVIÇOS DE TERCEIROS'),
    (11, 'MANUTENÇÃO DE VEÍCULOS'), (12, 'COMBUSTÍVEL'),
]
E = dict(despesas)

tipos = [(1, 'DINHEIRO'), (2, 'BOLETO'), (3, 'CHEQUE'), (4, 'TRANSFERENCIA'),
         (5, 'PIX'), (6, 'CARTAO'), (7, 'DEPOSITO')]
T = dict(tipos)

# code, name, trade name, kind of registry number ('CNPJ' or 'CPF'), street,
# number, district, city, state, cep, city code, phone, e-mail, contact,
# payment type, cost centre, expense type, kind of bills
# (kind: 'R' recurring monthly, 'M' merchandise in instalments, 'S' services)
suppliers = [
    (1, 'ENERGIA PAULISTA DISTRIBUIDORA S.A.', 'ENERGIA PAULISTA', 'CNPJ', 'Rua Jorge de Figueiredo Corrêa', '1632', 'Chácara Primavera', 'Campinas', 'SP', '13087397', 3509502, '(19) 3756-8000', 'atendimento@energiapaulista.com.br', 'Central de Atendimento', 2, 1, 2, 'R'),
    (2, 'SANEAMENTO CAMPINAS S.A.', 'SANECAMP', 'CNPJ', 'Av. da Saudade', '500', 'Ponte Preta', 'Campinas', 'SP', '13041670', 3509502, '(19) 3735-5000', 'contas@sanecamp.com.br', 'Setor de Faturamento', 2, 1, 3, 'R'),
    (3, 'CONECTA TELECOMUNICAÇÕES LTDA', 'CONECTA FIBRA', 'CNPJ', 'Rua Barão de Jaguara', '1102', 'Centro', 'Campinas', 'SP', '13015002', 3509502, '(19) 4003-1212', 'empresas@conectafibra.com.br', 'Juliana Prado', 2, 7, 4, 'R'),
    (4, 'IMOBILIÁRIA MORADA NOVA LTDA', 'MORADA NOVA IMÓVEIS', 'CNPJ', 'Rua Conceição', '233', 'Centro', 'Campinas', 'SP', '13010050', 3509502, '(19) 3231-7788', 'locacao@moradanova.com.br', 'Roberto Salles', 4, 1, 1, 'R'),
    (5, 'DISTRIBUIDORA DE ALIMENTOS BOA MESA LTDA', 'BOA MESA', 'CNPJ', 'Rodovia Anhanguera, km 98', 'S/N', 'Distrito Industrial', 'Sumaré', 'SP', '13181900', 3552403, '(19) 3854-2200', 'vendas@boamesa.com.br', 'Carlos Menezes', 2, 9, 5, 'M'),
    (6, 'ATACADO SÃO JORGE LTDA', 'ATACADÃO SÃO JORGE', 'CNPJ', 'Av. Marginal Tietê', '3200', 'Vila Guilherme', 'São Paulo', 'SP', '02064000', 3550308, '(11) 2967-4400', 'comercial@atacadosaojorge.com.br', 'Patrícia Lopes', 2, 9, 5, 'M'),
    (7, 'FRIGORÍFICO VALE VERDE S.A.', 'VALE VERDE', 'CNPJ', 'Rodovia BR-153, km 12', 'S/N', 'Zona Rural', 'Goiânia', 'GO', '74675090', 5208707, '(62) 3201-5500', 'pedidos@valeverde.com.br', 'Eduardo Ramos', 2, 9, 5, 'M'),
    (8, 'BEBIDAS SERRA AZUL LTDA', 'SERRA AZUL', 'CNPJ', 'Av. Cristiano Machado', '4100', 'Ipiranga', 'Belo Horizonte', 'MG', '31160900', 3106200, '(31) 3426-9000', 'vendas@serraazul.com.br', 'Fernanda Castro', 3, 9, 5, 'M'),
    (9, 'PAPELARIA E INFORMÁTICA CENTRAL LTDA', 'PAPELARIA CENTRAL', 'CNPJ', 'Rua Treze de Maio', '412', 'Centro', 'Campinas', 'SP', '13015010', 3509502, '(19) 3233-1020', 'vendas@papelariacentral.com.br', 'Sônia Almeida', 5, 1, 6, 'S'),
    (10, 'LIMPA BEM PRODUTOS DE LIMPEZA LTDA', 'LIMPA BEM', 'CNPJ', 'Rua Dom Pedro II', '88', 'Vila Industrial', 'Curitiba', 'PR', '80420060', 4106902, '(41) 3322-6655', 'contato@limpabem.com.br', 'Marcos Weber', 2, 6, 7, 'S'),
    (11, 'TRANSPORTES RÁPIDO SUL LTDA', 'RÁPIDO SUL', 'CNPJ', 'Av. das Indústrias', '1750', 'Anchieta', 'Porto Alegre', 'RS', '90200290', 4314902, '(51) 3371-4000', 'financeiro@rapidosul.com.br', 'Gustavo Becker', 2, 3, 8, 'S'),
    (12, 'AUTO POSTO VIA ANHANGUERA LTDA', 'POSTO VIA ANHANGUERA', 'CNPJ', 'Rodovia Anhanguera, km 92', 'S/N', 'Jardim Campos Elíseos', 'Campinas', 'SP', '13060000', 3509502, '(19) 3227-3030', 'posto@viaanhanguera.com.br', 'Renato Dias', 6, 3, 12, 'S'),
    (13, 'INFORTEC SOLUÇÕES EM TI LTDA', 'INFORTEC', 'CNPJ', 'Rua Voluntários da Pátria', '190', 'Botafogo', 'Rio de Janeiro', 'RJ', '22270000', 3304557, '(21) 2539-4400', 'suporte@infortec.com.br', 'Luciana Farias', 5, 7, 10, 'S'),
    (14, 'CONTABILIDADE EXATA S/S LTDA', 'EXATA CONTÁBIL', 'CNPJ', 'Rua General Osório', '1031', 'Centro', 'Campinas', 'SP', '13010111', 3509502, '(19) 3236-5151', 'escritorio@exatacontabil.com.br', 'Dr. Paulo Rezende', 4, 4, 10, 'R'),
    (15, 'MECÂNICA IRMÃOS ROSSI LTDA', 'IRMÃOS ROSSI', 'CNPJ', 'Av. Brasil', '2890', 'Jardim Guanabara', 'Campinas', 'SP', '13073001', 3509502, '(19) 3242-8181', 'oficina@irmaosrossi.com.br', 'Sérgio Rossi', 3, 3, 11, 'S'),
    (16, 'GRÁFICA E EDITORA PRIMOR LTDA', 'GRÁFICA PRIMOR', 'CNPJ', 'Rua da Aurora', '325', 'Boa Vista', 'Recife', 'PE', '50050000', 2611606, '(81) 3421-7070', 'orcamento@graficaprimor.com.br', 'Tereza Cavalcanti', 2, 8, 10, 'S'),
    (17, 'AGÊNCIA CRIATIVA MARKETING DIGITAL LTDA', 'CRIATIVA', 'CNPJ', 'SCS Quadra 2, Bloco C', '22', 'Asa Sul', 'Brasília', 'DF', '70302000', 5300108, '(61) 3224-9090', 'contato@agenciacriativa.com.br', 'Bruno Teixeira', 4, 8, 10, 'S'),
    (18, 'JOSÉ CARLOS DA SILVA', 'ZÉ ELETRICISTA', 'CPF', 'Rua Sebastião de Souza', '77', 'Jardim Proença', 'Campinas', 'SP', '13026200', 3509502, '(19) 99812-3456', 'zecarlos.eletrica@gmail.com', 'José Carlos', 1, 6, 10, 'S'),
    (19, 'MARIA APARECIDA DE SOUZA', 'MARIA LIMPEZA', 'CPF', 'Rua Maria Monteiro', '512', 'Cambuí', 'Campinas', 'SP', '13025151', 3509502, '(19) 98877-1122', 'cida.souza@hotmail.com', 'Maria Aparecida', 5, 5, 10, 'S'),
    (20, 'ANTÔNIO PEREIRA LIMA', 'ANTÔNIO LIMA', 'CPF', 'Rua Boaventura do Amaral', '940', 'Centro', 'Piracicaba', 'SP', '13400000', 3538709, '(19) 99655-4433', 'antonio.plima@uol.com.br', 'Antônio', 4, 1, 1, 'R'),
    (21, 'EMBALAGENS PLASTIPACK INDÚSTRIA LTDA', 'PLASTIPACK', 'CNPJ', 'Rua Tenente Silveira', '600', 'Centro', 'Florianópolis', 'SC', '88010301', 4205407, '(48) 3224-3300', 'vendas@plastipack.com.br', 'Aline Schmitt', 2, 9, 5, 'M'),
    (22, 'CENTRAL DE TAXAS E LICENÇAS LTDA', 'CENTRAL TAXAS', 'CNPJ', 'Av. Anchieta', '200', 'Centro', 'Campinas', 'SP', '13015904', 3509502, '(19) 2116-0555', 'guias@centraltaxas.com.br', 'Protocolo', 2, 4, 9, 'R'),
]
SUP = {s[0]: s for s in suppliers}

# registry numbers drawn at random (their own generator, so the rest of the
# data does not move when a supplier is added), check digits computed
docs = random.Random(5150)
fornecedor_rows = []
for s in suppliers:
    (code, nome, fan, doc, rua, num, bairro, cidade, uf, cep, ccid, fone, mail,
     contato, ctipo, cger, cdesp, kind) = s
    person = doc == 'CPF'
    doc = ''.join(str(docs.randint(0, 9)) for _ in range(9 if person else 8))
    if person:
        n = cpf(doc)
        cg, cgc, cpfc, tipo, contrib, ie = fmt_cpf(n), None, fmt_cpf(n), 'F', 9, None
        rg = '%s.%s.%s-%d' % (doc[0:2], doc[2:5], doc[5:8], rnd.randint(0, 9))
        situacao = None
    else:
        n = cnpj(doc)
        cg, cgc, cpfc, tipo, contrib = fmt_cnpj(n), fmt_cnpj(n), None, 'J', 1
        ie = '%03d.%03d.%03d.%03d' % tuple(rnd.randint(100, 999) for _ in range(4))
        rg = None
        situacao = 'ATIVA'
    fornecedor_rows.append((code, nome[:50], fan[:50], cg, cgc, cpfc, ie, rg, contrib,
                            rua[:40], num[:10], bairro[:30], cidade[:30], uf, cep, ccid,
                            fone, None, mail[:50], contato[:50], ctipo, T[ctipo],
                            cger, G[cger], situacao, tipo, 'S',
                            D(-rnd.randint(560, 900))))

# --------------------------------------------------------------------------
# payables

USERS = ['MARCOS ANDRADE', 'ANA PAULA', 'RODRIGO FINANCEIRO', 'JULIANA']
PCS = ['FINANCEIRO-01', 'FINANCEIRO-02', 'CAIXA-MATRIZ']

PAGAR_COLS = ['Nota', 'notacontrole', 'condicao', 'parcelas', 'Dataemissao', 'Datavenc',
              'Dataquitacao', 'Valor', 'total', 'totalpg', 'valorpg', 'pago', 'negociacao',
              'CodigoFornecedor', 'Nome', 'nomefornecedor', 'Codigofilial', 'filial',
              'nomefilial', 'codigogerencial', 'gerencial', 'gerenial', 'codigodespesa',
              'despesa', 'codigotipo', 'tipo', 'especie', 'tiporecebimento', 'Obs',
              'usuario', 'horalanc', 'horaquitado', 'nomecomputador', 'numerodpc']

pagar = []      # dicts
caixa = []      # tuples
ledger = []     # contacorrente tuples (bank settlements), filled below
used_notas = set()


def new_nota():
    while True:
        n = str(rnd.randint(1000, 999999))
        if n not in used_notas:
            used_notas.add(n)
            return n


def base_row(sup, filial, nota, emission, due, valor, total):
    s = SUP[sup]
    fcode, fname = filial
    gcode, desp = s[15], s[16]
    tcode = s[14]
    return dict(Nota=nota, notacontrole=None, condicao=None, parcelas=None,
                Dataemissao=emission, Datavenc=due, Dataquitacao=None, Valor=valor,
                total=total, totalpg=None, valorpg=None, pago='N', negociacao='N',
                CodigoFornecedor=sup, Nome=s[1], nomefornecedor=s[1][:50],
                Codigofilial=fcode, filial=fname, nomefilial=fname,
                codigogerencial=gcode, gerencial=G[gcode], gerenial=G[gcode],
                codigodespesa=desp, despesa=E[desp], codigotipo=tcode, tipo=T[tcode],
                especie=None, tiporecebimento=None, Obs=None,
                usuario=rnd.choice(USERS)[:20], horalanc=hora(), horaquitado=None,
                nomecomputador=None, numerodpc=None)


def settle(r, when, how, paid=None):
    """Close an open row the way the program's settlement paths do."""
    user = rnd.choice(USERS)
    paid = r['Valor'] if paid is None else paid
    r.update(pago='S', Dataquitacao=when, totalpg=paid, valorpg=paid,
             horaquitado=hora(), usuario=user[:15])
    if how == 'auto':      # F3 in the list: full value, cash hand-off
        r.update(especie='Pagamento Pagar', usuario=user[:15])
        cash_row(r, when, paid, user, r['nomefilial'])
    elif how == 'caixa':   # settlement screen, cash
        r.update(especie='PAGAMENTO PAGAR', tiporecebimento='Pagamento Pagar Dinh',
                 nomecomputador=rnd.choice(PCS), filial=r['nomefilial'])
        cash_row(r, when, paid, user, r['filial'])
    elif how == 'banco':   # settlement screen, bank: books a debit on the pseudo-account
        r.update(especie='Pagamento Pagar', tiporecebimento='Pagamento Pagar Dinh',
                 nomecomputador=rnd.choice(PCS), gerenial='CONTA CORRENTE',
                 filial=r['nomefilial'])
        bank_row(r, when, paid, user)
    elif how == 'dpc':
        r.update(especie='VALOR DO DPC', tiporecebimento='Dpc',
                 nomecomputador=rnd.choice(PCS), filial=r['nomefilial'],
                 numerodpc=r['numerodpc'] or 1)
    else:
        raise ValueError(how)


def cash_row(r, when, paid, user, filial, nota=None):
    caixa.append((when, 'DEBITO', r['Nome'][:50], '2', '1', 'S', (nota or r['Nota'])[:10],
                  r['CodigoFornecedor'], user[:50], user[:30], user[:30], D(when), paid, paid,
                  hora(), 'Pagamento Pagar Dinheiro', 'Pagamento Pagar Dinheiro', filial,
                  r['Codigofilial'], rnd.choice(PCS)))


def bank_row(r, when, paid, user):
    ledger.append(dict(codigoconta=99999, conta='JUROS', banco='JUROS', agencia='9999',
                       datalancamento=when, datavencimento=when, dataquitacao=when,
                       valor=None, debito=paid, es='S', tipos='DEBITO',
                       especie='Pagamento Pagar Dinheiro', tiposaida='Pagamento Pagar Dinheiro',
                       codigofilial=r['Codigofilial'], filial=r['nomefilial'],
                       codigofornecedor=r['CodigoFornecedor'], fornecedor=r['Nome'][:50],
                       codigogerencial=r['codigogerencial'], gerencial=r['gerencial'],
                       codigotipo=r['codigotipo'], tipo=r['tipo'],
                       codigotipodespesa=None, tipodespesa=r['despesa'],
                       codigodespesa=r['codigodespesa'], usuario=user[:30], hora=hora(),
                       nomecomputador=rnd.choice(PCS), importado=None, dataimportado=None,
                       documento=None, valordoc=None))


def dpc_remainder(r, paid):
    rem = dict(r)
    n = (r['numerodpc'] or 0) + 1
    rem.update(numerodpc=n, condicao='DPC - %d' % n, notacontrole=r['Nota'][:10],
               Valor=money(r['Valor'] - paid), total=money(r['total']), parcelas=1,
               filial=r['nomefilial'], gerenial=r['gerencial'], Obs='DPC', pago='N',
               Dataquitacao=None, totalpg=None, valorpg=None, especie=None,
               tiporecebimento=None, horaquitado=None, nomecomputador=None,
               negociacao='N', usuario=rnd.choice(USERS)[:20], horalanc=hora())
    return rem


def choose_settlement(due, emission):
    """Settlement day for an instalment due on 'due' (days from today)."""
    when = due + rnd.choice([-6, -3, -2, -1, 0, 0, 0, 0, 1, 2, 4, 9])
    return max(emission, min(when, 0))


def bill(sup, filial, emission, n, total, force=None):
    """A bill of n instalments; each instalment's fate follows its due date."""
    nota = new_nota()
    # keep clear of half-cent ties, where rounding rules (half-up, half-even,
    # binary representation) would disagree about the instalment value
    total = money(total)
    while abs((total * 100 / n) % 1 - 0.5) < 1e-6:
        total = money(total + 0.01)
    valor = money(total / n)
    rows = []
    for i in range(1, n + 1):
        due = emission + 30 * i
        r = base_row(sup, filial, nota, emission, due, valor, money(total))
        r.update(notacontrole=('%s/%d' % (nota, i))[:10], condicao='%dº PARCELA' % i,
                 parcelas=n)
        fate = force or fate_for(due)
        if fate == 'paid':
            how = rnd.choice(['caixa', 'caixa', 'banco', 'banco', 'auto'])
            paid = valor
            when = choose_settlement(due, emission)
            if how != 'auto' and when > due and rnd.random() < 0.5:
                paid = money(valor * 1.02)   # late: fine and interest
            settle(r, when, how, paid)
        elif fate == 'nego':
            r['negociacao'] = 'S'
            r['Obs'] = 'Em negociação com o fornecedor'
        elif fate == 'nego-paid':
            settle(r, choose_settlement(due, emission), 'caixa')
            r['negociacao'] = 'S'
        rows.append(r)
    pagar.extend(rows)
    return rows


def fate_for(due):
    if due > 0:
        return 'open'
    if due == 0:
        return 'open'
    x = rnd.random()
    if due > -45:          # recent: many still open
        return 'open' if x < 0.30 else ('nego' if x < 0.36 else 'paid')
    return 'open' if x < 0.05 else ('nego' if x < 0.08 else 'paid')


def amount(lo, hi):
    return money(rnd.uniform(lo, hi))


HIST = 540   # about 18 months of history

# recurring monthly bills: one instalment due 30 days after issue
recurring = {1: (1, 2600, 4200), 2: (1, 380, 720), 3: (1, 289.9, 289.9), 4: (1, 8500, 8500),
             14: (1, 1850, 1850), 20: (3, 3200, 3200), 22: (1, 150, 900)}
for sup, (fil, lo, hi) in recurring.items():
    for month in range(18, -1, -1):
        emission = -30 * month - rnd.randint(0, 4) - 8
        if emission < -HIST:
            continue
        for f in ([fil] if sup not in (1, 2) else [1, 2, 3]):
            if sup in (1, 2) and f != 1:
                lo2, hi2 = lo * 0.5, hi * 0.6
            else:
                lo2, hi2 = lo, hi
            if sup in (1, 2) and f != 1 and month % 3:
                continue
            bill(sup, filiais[f - 1], emission, 1, amount(lo2, hi2))

# merchandise in 1..6 instalments
for k in range(30):
    sup = rnd.choice([5, 6, 7, 8, 21, 5, 6])
    emission = -rnd.randint(0, HIST)
    n = rnd.choice([1, 2, 3, 3, 4, 5, 6])
    bill(sup, rnd.choice(filiais), emission, n, amount(900, 24000))

# services and supplies, mostly 1..2 instalments
for k in range(24):
    sup = rnd.choice([9, 10, 11, 12, 13, 15, 16, 17, 18, 19])
    emission = -rnd.randint(0, HIST)
    n = rnd.choice([1, 1, 1, 2, 2, 3])
    bill(sup, rnd.choice(filiais), emission, n, amount(120, 4800))

# bills that make sure every state of the list shows up whatever the day
bill(6, filiais[0], -30, 1, 4875.40)                       # due today
bill(11, filiais[1], -60, 2, 1630.00)                      # 2nd instalment due today
bill(9, filiais[2], -90, 3, 742.35, force='open')          # all open: overdue and today
bill(8, filiais[0], -75, 2, 5210.00, force='nego')         # under negotiation
bill(7, filiais[1], -20, 4, 18950.00)                      # open, future
bill(10, filiais[2], -50, 1, 388.20, force='nego-paid')    # settled while negotiated

# partial payments (DPC): the settled row keeps the amount paid, a new open row
# carries the rest. First chain: one remainder still open.


def partial(r, when, paid):
    rem = dpc_remainder(r, paid)      # numbered from the row's numerodpc before settling
    settle(r, when, 'dpc', paid)
    rem['_created'] = when
    pagar.append(rem)
    return rem


r = bill(5, filiais[0], -100, 1, 6400.00, force='open')[0]
partial(r, -65, 4000.00)

# second chain: the remainder was itself paid in part, the second one is open
r = bill(21, filiais[1], -160, 2, 3900.00, force='open')[0]
rem1 = partial(r, -128, 1200.00)
partial(rem1, -95, 500.00)      # rem1 keeps numerodpc 1, the next remainder gets 2

# third chain fully paid off: the remainder was settled in cash
r = bill(6, filiais[2], -220, 1, 2500.00, force='open')[0]
rem1 = partial(r, -190, 1500.00)
settle(rem1, -170, 'caixa')

# paid at entry (count 0): due and settled on the issue day, cash hand-off
for k in range(12):
    sup = rnd.choice([9, 10, 12, 15, 18, 19])
    emission = -rnd.randint(0, HIST)
    nota = new_nota()
    total = amount(35, 650)
    r = base_row(sup, rnd.choice(filiais), nota, emission, emission, total, total)
    user = rnd.choice(USERS)
    r.update(notacontrole=(nota + '/1')[:10], condicao='1º PARCELA', parcelas=0, pago='S',
             Dataquitacao=emission, totalpg=total, especie='Pagamento Pagar',
             usuario=user[:20], horaquitado=r['horalanc'])
    cash_row(r, emission, total, user, r['nomefilial'], nota=nota + '/1')
    pagar.append(r)

# list order: as the rows would have been written (issue day, or settlement
# day for a DPC remainder)
for i, r in enumerate(pagar):
    r['_seq'] = i
pagar.sort(key=lambda r: (r.get('_created', r['Dataemissao']), r['_seq']))

# --------------------------------------------------------------------------
# bank accounts and their ledgers

contas = [  # code, bank, agency, account, opening credit, branch, cost centre, pay type, expense
    (1, 'BANCO DO BRASIL', '3421', '45678-9', 35000.00, 1, 4, 7, 9),
    (2, 'CAIXA ECONÔMICA FEDERAL', '0871', '00012345-0', 12000.00, 2, 4, 7, 9),
]
OPEN_DAY = -HIST - 10

ledger_rows = []
for (cc, banco, ag, nconta, valor, fil, ger, tp, desp) in contas:
    ledger_rows.append(dict(codigoconta=cc, conta=nconta, banco=banco[:20], agencia=ag,
                            datalancamento=OPEN_DAY, datavencimento=OPEN_DAY,
                            dataquitacao=OPEN_DAY, valor=valor, debito=None, es='E',
                            tipos=None, especie='DINHEIRO', tiposaida=None,
                            codigofilial=fil, filial=filiais[fil - 1][1],
                            codigofornecedor=None, fornecedor=None,
                            codigogerencial=ger, gerencial=G[ger], codigotipo=tp, tipo=T[tp],
                            codigotipodespesa=desp, tipodespesa=E[desp], codigodespesa=None,
                            usuario=None, hora=hora(), nomecomputador=None, importado=None,
                            dataimportado=None, documento=None, valordoc=None))

# movements typed in the ledger screen: sales deposits and bank charges
for month in range(17, -1, -1):
    for (cc, banco, ag, nconta, _v, fil, _g, _t, _d) in contas:
        day = -30 * month - rnd.randint(1, 25)
        user = rnd.choice(USERS)
        common = dict(codigoconta=cc, conta=nconta, banco=banco[:20], agencia=ag,
                      datalancamento=day, datavencimento=day, dataquitacao=day,
                      especie='DINHEIRO', tiposaida=None, codigofilial=fil,
                      filial=filiais[fil - 1][1], usuario=user[:30], hora=None,
                      nomecomputador=None, importado=None, dataimportado=None,
                      documento=None, valordoc=None, codigodespesa=None)
        ledger_rows.append(dict(common, valor=amount(8000, 26000), debito=None, es='E',
                                tipos='CREDITO', codigofornecedor=None,
                                fornecedor='DEPÓSITO DAS VENDAS DA LOJA',
                                codigogerencial=2, gerencial=G[2], codigotipo=7, tipo=T[7],
                                codigotipodespesa=None, tipodespesa=''))
        if month % 3 == 0:
            ledger_rows.append(dict(common, valor=None, debito=amount(45, 95), es='S',
                                    tipos='DEBITO', codigofornecedor=None,
                                    fornecedor='TARIFA DE MANUTENÇÃO DE CONTA',
                                    codigogerencial=4, gerencial=G[4], codigotipo=4,
                                    tipo=T[4], codigotipodespesa=9, tipodespesa=E[9]))

# a statement import of last month on the first account
for k in range(8):
    day = -rnd.randint(5, 30)
    credit = rnd.random() < 0.4
    v = amount(150, 5200)
    doc = str(rnd.randint(100000, 999999))
    ledger_rows.append(dict(codigoconta=0, conta='45678-9', banco='BANCO DO BRASIL',
                            agencia='3421', datalancamento=day, datavencimento=day,
                            dataquitacao=day, valor=v if credit else None,
                            debito=None if credit else v, es='E' if credit else 'S',
                            tipos='ENTRADA' if credit else 'DEBITO', especie='BANCO',
                            tiposaida='BANCO', codigofilial=1,
                            filial=configuracao[0][0],
                            codigofornecedor=99999,
                            fornecedor=rnd.choice(['TED RECEBIDA CLIENTE', 'PIX RECEBIDO',
                                                   'PAGTO BOLETO', 'DEB AUTOMATICO',
                                                   'PIX ENVIADO']),
                            codigogerencial=99999, gerencial='BANCO', codigotipo=1,
                            tipo='VARIAVEL', codigotipodespesa=None, tipodespesa=None,
                            codigodespesa=None, usuario='MARCOS ANDRADE', hora=hora(),
                            nomecomputador=None, importado='S', dataimportado=-3,
                            documento=doc, valordoc=v))

ledger_rows.extend(ledger)
ledger_rows.sort(key=lambda r: (r['datalancamento'], r['codigoconta']))

# --------------------------------------------------------------------------
# receivables (read by the netting and the summaries)

clientes = [(101, 'SUPERMERCADO BOM PREÇO LTDA'), (102, 'RESTAURANTE SABOR CAIPIRA LTDA'),
            (103, 'PADARIA PÃO DOURADO LTDA'), (104, 'HOTEL CENTRAL CAMPINAS LTDA'),
            (105, 'MERCEARIA DONA ROSA'), (106, 'LANCHONETE DO ZÉ LTDA'),
            (107, 'CANTINA ESCOLAR ALEGRIA LTDA')]
receber = []
for k in range(40):
    cli = rnd.choice(clientes)
    fil = rnd.choice(filiais)
    due = rnd.randint(-200, 60)
    valor = amount(250, 7800)
    esp = rnd.choice(['BOLETO', 'BOLETO', 'DINHEIRO', 'CARTAO', 'PIX', 'CHEQUE'])
    if due < -10 or (due < 0 and rnd.random() < 0.6):
        when = min(0, due + rnd.randint(-3, 5))
        receber.append((str(rnd.randint(10000, 99999)), cli[0], cli[1], fil[0], fil[1],
                        D(due), D(when), valor, valor, esp))
    else:
        receber.append((str(rnd.randint(10000, 99999)), cli[0], cli[1], fil[0], fil[1],
                        D(due), None, valor, None, esp))

# --------------------------------------------------------------------------
# purchase notes for the supplier screen's purchases tab

produtos = {5: ['ARROZ TIPO 1 5KG', 'FEIJÃO CARIOCA 1KG', 'ÓLEO DE SOJA 900ML', 'AÇÚCAR REFINADO 1KG'],
            6: ['CAFÉ TORRADO 500G', 'MACARRÃO ESPAGUETE 500G', 'FARINHA DE TRIGO 1KG'],
            7: ['CARNE BOVINA ALCATRA KG', 'FRANGO CONGELADO KG', 'LINGUIÇA TOSCANA KG'],
            8: ['REFRIGERANTE COLA 2L', 'ÁGUA MINERAL 500ML', 'SUCO DE UVA 1L'],
            21: ['SACOLA PLÁSTICA 40X50', 'BANDEJA DE ISOPOR N2', 'FILME PVC 28CM']}
notas, itens = [], []
cnota = 0
for sup, prods in produtos.items():
    for k in range(2):
        cnota += 1
        day = -rnd.randint(5, 300)
        nf = str(rnd.randint(10000, 999999))
        uf_code = {'SP': '35', 'GO': '52', 'MG': '31', 'SC': '42'}[SUP[sup][8]]
        chave = uf_code + ''.join(str(rnd.randint(0, 9)) for _ in range(42))
        items = []
        for p_i, p in enumerate(rnd.sample(prods, min(len(prods), rnd.randint(2, 3)))):
            qt = rnd.randint(10, 120)
            preco = amount(3.5, 42)
            items.append((cnota, 1000 * sup + p_i + 1, sup, qt, preco, 'E', D(day), D(day + 2),
                          p, p, nf, 'REF%04d' % (100 * sup + p_i), 'S', 'N', 'N'))
        vprod = money(sum(i[3] * i[4] for i in items))
        frete = amount(0, 180)
        notas.append((cnota, sup, nf, D(day), D(day + 2), 'COMPRA', chave, money(vprod + frete),
                      vprod, money(vprod + frete), money(vprod * 0.18), frete,
                      'S' if k == 1 and sup == 8 else 'N', 'N'))
        itens.extend(items)

# --------------------------------------------------------------------------
# output

emit('-- Demo data for a small retail company with three branches.')
emit('-- Loaded by scripts/run into an empty database after schema.sql.')
emit('-- Every date is relative to the day of loading, so the payables list always')
emit('-- shows bills due today, overdue, paid and under negotiation.')
emit('-- Written by scripts/gen-demo.py, edit that and run it again.')
emit()
emit('-- Company')
insert('configuracao', ['Nome', 'Endereco', 'Bairro', 'Cidade', 'Estado', 'Cep', 'Tel1', 'Tel2',
                        'Fax', 'Email', 'Setor', 'Cpf', 'Cnpj', 'Insc'], configuracao)
emit('-- Branches, cost centres, expense types, payment types')
insert('filial', ['Codigofilial', 'Nomefilial', 'Obs'],
       [(c, n, 'Loja própria' if c > 1 else 'Sede administrativa e loja') for c, n in filiais])
insert('contagerencial', ['codigogerencial', 'Gerencial'], gerenciais)
insert('tipodespesa', ['codigodespesa', 'despesa'], despesas)
insert('tipos', ['CODIGOTIPO', 'DESCTIPO'], tipos)
emit('-- Suppliers (companies with CNPJ, a few people with CPF)')
insert('fornecedor', ['CodigoFornecedor', 'Nome', 'nomefan', 'Cgccpf', 'Cgc', 'Cpf', 'ie', 'rg',
                      'TipoContribuinte', 'Endereco', 'Numero', 'Bairro', 'Cidade', 'Estado',
                      'Cep', 'CodigoCidade', 'Telefone1', 'Telefone2', 'email', 'contato',
                      'CodigoTipo', 'Tipos', 'CodigoGerencial', 'Gerencial', 'situacao',
                      'Tipo', 'ativo', 'DtPrimeiraCompra'], fornecedor_rows)
emit('-- Bank accounts with their opening movement')
insert('conta', ['codigoconta', 'banco', 'agencia', 'conta', 'valor', 'debito', 'ES', 'data',
                 'codigofilial', 'filial', 'codigotipo', 'codigogerencial', 'gerencial',
                 'codigodespesa', 'descricaodespesa', 'usuario'],
       [(cc, b, ag, nc, v, None, 'E', D(OPEN_DAY), fil, filiais[fil - 1][1], tp, ger, G[ger],
         desp, E[desp], 'MARCOS ANDRADE') for (cc, b, ag, nc, v, fil, ger, tp, desp) in contas])

LCOLS = ['codigoconta', 'conta', 'banco', 'agencia', 'datalancamento', 'datavencimento',
         'dataquitacao', 'valor', 'debito', 'es', 'tipos', 'especie', 'tiposaida',
         'codigofilial', 'filial', 'codigofornecedor', 'fornecedor', 'codigogerencial',
         'gerencial', 'codigotipo', 'tipo', 'codigotipodespesa', 'tipodespesa',
         'codigodespesa', 'documento', 'valordoc', 'importado', 'dataimportado', 'usuario',
         'hora', 'nomecomputador']
DATECOLS = {'datalancamento', 'datavencimento', 'dataquitacao', 'dataimportado',
            'Dataemissao', 'Datavenc', 'Dataquitacao'}


def row_of(r, cols):
    return tuple(D(r[c]) if c in DATECOLS and r[c] is not None else r[c] for c in cols)


emit('-- Checking-account ledger: opening rows, movements typed in the ledger,')
emit('-- an imported statement and the debits of payables settled through the bank')
insert('contacorrente', LCOLS, [row_of(r, LCOLS) for r in ledger_rows])
emit('-- Payables')
insert('pagar', PAGAR_COLS, [row_of(r, PAGAR_COLS) for r in pagar])
emit('-- Cash ledger rows of the payables settled in cash')
insert('caixa', ['Tipo', 'Descricao', 'Opcao', 'Tp', 'es', 'CodigoNota', 'CodigoCliente',
                 'Usuario', 'NomeFuncionario', 'NomeFunciionario', 'Data', 'Debito', 'valor',
                 'Hora', 'especie', 'Condicao', 'filial', 'codigoFilial', 'nomecomputador'],
       [c[1:] for c in sorted(caixa, key=lambda c: c[0])])
emit('-- Receivables')
insert('receber', ['CodigoNota', 'CodigoCliente', 'Nome', 'CodigoFilial', 'filial', 'DataVenc',
                   'DataQuitacao', 'Valor', 'TotalPg', 'especie'], receber)
emit('-- Purchase notes and their items')
insert('nota', ['Codigonota', 'Codigofornecedor', 'Notafiscal', 'Data', 'dataentrada',
                'operacao', 'chave', 'valor', 'vProd', 'vNF', 'vTotTrib', 'totalfrete',
                'NFCancelada', 'Importacao'], notas)
insert('itensnota', ['Codigonota', 'Codigoproduto', 'CodigoFornecedor', 'Qt', 'Preco', 'Tipo',
                     'Data', 'dataentrada', 'produto', 'descricao', 'notafiscal', 'Referencia',
                     'Fechada', 'NFCancelada', 'Importacao'], itens)

sys.stdout.write('\n'.join(out))
print('pagar rows: %d, caixa %d, ledger %d, receber %d' %
      (len(pagar), len(caixa), len(ledger_rows), len(receber)), file=sys.stderr)

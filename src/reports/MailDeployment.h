#pragma once
// The mail account from which the open-payables list is sent, and the names
// that belong to one installation rather than to the program: read from the
// [EMAIL] section of "Admin.ini" (keys matched without regard to case; a
// missing or empty key takes its default).
//
//   [EMAIL]
//   SERVIDOR=smtp.provedor.com.br   SMTP server (empty: mail is not configured)
//   PORTA=465                       server port
//   SEGURANCA=SSL                   SSL (TLS from the first byte), STARTTLS or NENHUMA
//   REMETENTE=contas@empresa.com.br sender address
//   USUARIO=                        account login (empty: the sender address)
//   SENHA=kqz7314                   account password
//   TEMPO_LIMITE=30                 seconds to wait for the server at each step
//   CERTIFICADOS=                   file of trusted authorities (empty: the system's)
//   NOME_TODAS=                     sender name of the all-branches message
//                                   (empty: the company name of configuracao)
//   DESTINO_TODAS=                  recipient address of the all-branches message
//   CONTATO_TODAS=                  its name (empty: the bare address)
//   AC_FILIAL=Gerente da Filial     attention line of the one-branch message
//   AC_TODAS=Diretoria Financeira   attention line of the all-branches message
//
// The recipients of the one-branch message are EMAIL1..3 / CONTATO1..3 of
// [GERAL], kept by the program's configuration (Config()).
//
// The password is only handed to the mail layer; nothing here prints it, and
// no message of this section ever quotes the value of SENHA.

#include "mail/MailMessage.h"
#include "mail/MailSettings.h"

#include <QString>
#include <QStringList>

struct MailDeployment
{
    static constexpr const char *Section = "EMAIL";

    MailSettings server; // host, port, security, login, password, timeout, authorities
    QString senderAddress;
    QString allSenderName; // empty: the company name
    MailAddress allRecipient;
    QString attentionBranch = QStringLiteral("Gerente da Filial");
    QString attentionAll = QStringLiteral("Diretoria Financeira");
    // Keys that hold something unusable, one Portuguese sentence each naming
    // the file, the section and the key; the default is kept meanwhile.
    QStringList problems;

    // Reads the section from the file at path (a missing file gives the defaults).
    static MailDeployment fromIni(const QString &path);

    // The installation's values: read once from the Admin.ini that start-up
    // read (Config().path), unless a caller set them.
    static const MailDeployment &current();
    static void setCurrent(const MailDeployment &deployment);
};

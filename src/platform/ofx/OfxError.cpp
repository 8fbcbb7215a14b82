#include "ofx/OfxError.h"

OfxError::OfxError(Kind kind, const QString &message)
    : std::runtime_error(message.toStdString()), m_kind(kind), m_message(message)
{
}

OfxError OfxError::unreadable(const QString &fileName, const QString &reason)
{
    return {Kind::Unreadable,
            QStringLiteral("Não foi possível abrir o arquivo \"%1\": %2.").arg(fileName, reason)};
}

OfxError OfxError::empty(const QString &fileName)
{
    return {Kind::Empty, QStringLiteral("O arquivo \"%1\" está vazio.").arg(fileName)};
}

OfxError OfxError::notOfx(const QString &fileName)
{
    return {Kind::NotOfx,
            QStringLiteral("O arquivo \"%1\" não é um extrato bancário OFX.").arg(fileName)};
}

OfxError OfxError::damaged(const QString &fileName)
{
    return {Kind::Damaged, QStringLiteral("O extrato OFX \"%1\" está danificado ou incompleto e "
                                          "não pode ser lido.")
                               .arg(fileName)};
}

OfxError OfxError::badTransaction(const QString &fileName, int number)
{
    return {Kind::Damaged,
            QStringLiteral("O extrato OFX \"%1\" está danificado: o lançamento %2 não tem data ou "
                           "valor válido.")
                .arg(fileName)
                .arg(number)};
}

OfxError OfxError::noStatement(const QString &fileName, const QString &bankMessage)
{
    QString text =
        QStringLiteral("O arquivo OFX \"%1\" não traz o extrato de uma conta.").arg(fileName);
    if (!bankMessage.isEmpty())
        text += QStringLiteral(" Mensagem do banco: %1").arg(bankMessage);
    return {Kind::NoStatement, text};
}

OfxError OfxError::severalAccounts(const QString &fileName)
{
    return {Kind::SeveralAccounts,
            QStringLiteral("O arquivo OFX \"%1\" traz extratos de mais de uma conta; exporte do "
                           "banco um arquivo para cada conta.")
                .arg(fileName)};
}

OfxError OfxError::tooLarge(const QString &fileName)
{
    return {Kind::TooLarge,
            QStringLiteral("O arquivo \"%1\" é grande demais para um extrato OFX.").arg(fileName)};
}

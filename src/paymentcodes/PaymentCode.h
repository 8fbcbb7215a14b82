#pragma once
// What a payment code says once read and checked: a boleto bancário, an
// arrecadação (utility bills and taxes) code or a PIX "copia e cola". Only what
// the code really carries is filled: an amount or a due date the code does not
// hold stays empty, so a screen never fills a field with a guess. The money is
// kept in whole centavos, exactly as the code holds it.
//
// PaymentCodeReading is the answer of every reader: either a code, or the exact
// Portuguese sentence that says what is wrong with the text (error not empty).

#include <QDate>
#include <QString>

#include <optional>

struct PaymentCode
{
    enum class Kind { Boleto, Arrecadacao, Pix };
    Kind kind = Kind::Boleto;

    // The code as the program keeps and copies it back: the typed line's digits
    // for boletos and arrecadação (also when the barcode was read, since every
    // internet bank accepts the typed line), the whole payload for PIX.
    QString text;

    std::optional<qint64> amountCents; // empty: the payer fills in the amount
    std::optional<QDate> dueDate;      // empty: the code has no due date

    // Boleto and arrecadação.
    QString barcode;   // 44 digits
    QString typedLine; // 47 (boleto) or 48 (arrecadação) digits

    // Boleto.
    QString bankCode;  // "001"
    QString bankName;  // empty when the bank is not in the table
    int dueFactor = 0; // 0: no due date

    // Arrecadação.
    int segment = 0; // second digit
    QString segmentName;
    int valueIdentifier = 0;     // third digit, 6 to 9
    bool referenceValue = false; // 7 or 9: the value field is not an amount in reais

    // PIX.
    bool dynamic = false; // the charge lives at pixUrl (no key in the code)
    QString pixKey;
    QString pixUrl;
    QString payeeName;
    QString payeeCity;
    QString txid; // empty when the code has none ("***")

    // The amount in reais (0 when the code carries none), for the money fields.
    double amount() const;
    // The CPF (11 digits) or CNPJ (14 digits) the PIX key is; empty when the key
    // is an e-mail, a phone number or a random key, or for other codes.
    QString pixKeyDocument() const;
    // One line for the screen: who is paid, the value and the due date, e.g.
    // "Boleto Banco do Brasil (001) — R$ 100,00 — vencimento 19/04/2017".
    QString displayText() const;
};

struct PaymentCodeReading
{
    PaymentCode code;
    QString error;

    bool ok() const { return error.isEmpty(); }
    static PaymentCodeReading failure(const QString &message)
    {
        PaymentCodeReading r;
        r.error = message;
        return r;
    }
    static PaymentCodeReading success(const PaymentCode &code)
    {
        PaymentCodeReading r;
        r.code = code;
        return r;
    }
};

// "R$ 1.234,56": Brazilian grouping and decimal comma whatever the process locale.
QString formatMoneyCents(qint64 cents);

#include "widgets/FieldBinder.h"

#include "db/DisplayFormat.h"
#include "widgets/DateEdit.h"
#include "widgets/MoneyEdit.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

FieldBinder::FieldBinder(RecordSet *rs, QObject *parent) : QObject(parent), m_rs(rs)
{
    connect(rs, &RecordSet::currentRowChanged, this, &FieldBinder::refresh);
    connect(rs, &RecordSet::rowChanged, this, &FieldBinder::refresh);
    connect(rs, &RecordSet::stateChanged, this, &FieldBinder::refresh);
    connect(rs, &RecordSet::reset, this, &FieldBinder::refresh);
}

void FieldBinder::add(QWidget *w, const QString &field, std::function<void(const QVariant &)> show,
                      std::function<void()> commit)
{
    m_bindings.append({w, field, std::move(show), std::move(commit)});
    refresh();
}

void FieldBinder::commit()
{
    const auto pending = m_pending;
    for (const Binding &b : m_bindings)
        if (b.commit && b.widget && pending.contains(b.widget))
            b.commit();
    m_pending.clear();
}

QWidget *FieldBinder::firstInvalid(QString *message) const
{
    for (const Binding &b : m_bindings) {
        if (auto *d = qobject_cast<DateEdit *>(b.widget.data()); d && !d->isValidInput()) {
            if (message)
                *message = QStringLiteral("Data inválida: %1 !!!").arg(d->text());
            return d;
        }
        if (auto *m = qobject_cast<MoneyEdit *>(b.widget.data()); m && !m->hasValidValue()) {
            if (message)
                *message = QStringLiteral("Valor inválido: %1 !!!").arg(m->QLineEdit::text());
            return m;
        }
    }
    return nullptr;
}

void FieldBinder::refresh()
{
    if (!m_rs->isEditing())
        m_pending.clear();
    m_showing = true;
    const bool has = m_rs->isOpen() && m_rs->recNo() >= 0;
    for (const Binding &b : m_bindings) {
        // Neither the control being written nor one still holding typed text
        // is overwritten while the row is edited.
        if (!b.widget || b.widget == m_writing || m_pending.contains(b.widget))
            continue;
        QVariant v;
        if (has && m_rs->hasField(b.field))
            v = m_rs->value(b.field);
        b.show(v);
    }
    m_showing = false;
}

void FieldBinder::beginEdit(QWidget *w)
{
    if (m_showing || !m_rs->isOpen() || m_rs->recNo() < 0 || m_rs->isEditing())
        return;
    // The control that starts the edit keeps what is being typed in it.
    QWidget *previous = m_writing;
    m_writing = w;
    try {
        m_rs->edit();
    } catch (...) {
        m_writing = previous;
        throw;
    }
    m_writing = previous;
}

void FieldBinder::write(QWidget *w, const QString &field, const QVariant &value)
{
    if (m_showing || !m_rs->isOpen() || m_rs->recNo() < 0)
        return;
    // The control being typed in is not refreshed while its change goes in.
    m_writing = w;
    try {
        beginEdit(w);
        m_rs->setValue(field, value);
    } catch (...) {
        m_writing = nullptr;
        throw;
    }
    m_writing = nullptr;
}

void FieldBinder::bindText(QLineEdit *edit, const QString &field, bool readOnly, bool upper)
{
    edit->setReadOnly(readOnly);
    add(edit, field, [edit, upper](const QVariant &v) {
        const QString t = v.toString();
        edit->setText(upper ? t.toUpper() : t);
        edit->setCursorPosition(0);
    });
    if (!readOnly)
        connect(edit, &QLineEdit::textEdited, this,
                [this, edit, field](const QString &t) { write(edit, field, t); });
}

void FieldBinder::bindNumber(QLineEdit *edit, const QString &field, bool readOnly)
{
    edit->setReadOnly(readOnly);
    add(edit, field, [edit](const QVariant &v) { edit->setText(DisplayFormat::format(v)); });
    if (readOnly)
        return;
    auto take = [this, edit, field] {
        if (!m_rs->isEditing())
            return;
        m_pending.removeAll(edit);
        bool ok = false;
        const double d = DisplayFormat::parseNumber(edit->text(), &ok);
        if (edit->text().trimmed().isEmpty())
            write(edit, field, QVariant());
        else if (ok)
            write(edit, field, d);
    };
    m_bindings.last().commit = take;
    connect(edit, &QLineEdit::textEdited, this, [this, edit] {
        beginEdit(edit);
        if (!m_pending.contains(edit))
            m_pending << edit;
    });
    connect(edit, &QLineEdit::editingFinished, this, take);
}

void FieldBinder::bindMoney(MoneyEdit *edit, const QString &field)
{
    add(
        edit, field, [edit](const QVariant &v) { edit->setValue(v.toDouble()); },
        [this, edit, field] {
            if (edit->hasValidValue())
                write(edit, field, edit->value());
        });
    connect(edit, &QLineEdit::textEdited, this, [this, edit] {
        beginEdit(edit);
        if (!m_pending.contains(edit))
            m_pending << edit;
    });
    connect(edit, &MoneyEdit::valueChanged, this, [this, edit, field](double value) {
        m_pending.removeAll(edit);
        write(edit, field, value);
    });
}

void FieldBinder::bindDate(DateEdit *edit, const QString &field)
{
    edit->setAllowEmpty(true);
    add(
        edit, field, [edit](const QVariant &v) { edit->setDate(v.toDate()); },
        [this, edit, field] {
            if (edit->isValidInput())
                write(edit, field, edit->date().isValid() ? QVariant(edit->date()) : QVariant());
        });
    connect(edit, &QLineEdit::textEdited, this, [this, edit] {
        beginEdit(edit);
        if (!m_pending.contains(edit))
            m_pending << edit;
    });
    connect(edit, &DateEdit::dateChanged, this, [this, edit, field](const QDate &d) {
        if (edit->isValidInput())
            write(edit, field, d.isValid() ? QVariant(d) : QVariant());
    });
}

void FieldBinder::bindMemo(QPlainTextEdit *edit, const QString &field, bool readOnly)
{
    edit->setReadOnly(readOnly);
    add(edit, field, [edit](const QVariant &v) { edit->setPlainText(v.toString()); });
    if (!readOnly)
        connect(edit, &QPlainTextEdit::textChanged, this, [this, edit, field] {
            if (!m_showing)
                write(edit, field, edit->toPlainText());
        });
}

void FieldBinder::bindChoice(QComboBox *box, const QString &field,
                             const QList<QPair<QString, QString>> &captionsAndValues)
{
    box->clear();
    for (const auto &[caption, value] : captionsAndValues)
        box->addItem(caption, value);
    add(box, field,
        [box](const QVariant &v) { box->setCurrentIndex(box->findData(v.toString().toUpper())); });
    connect(box, &QComboBox::activated, this,
            [this, box, field](int i) { write(box, field, box->itemData(i)); });
}

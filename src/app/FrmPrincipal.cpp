#include "app/FrmPrincipal.h"

#include "app/DM.h"
#include "app/Globals.h"
#include "app/Helpers.h"
#include "shell/SiblingProgram.h"
#include "widgets/Messages.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QColor kBlue(0, 79, 157);

QLabel *bandLabel(const QString &text, int pixelSize, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixelSize);
    l->setFont(f);
    l->setStyleSheet(QStringLiteral("color: white;"));
    return l;
}

QWidget *band(int height, QWidget *parent)
{
    auto *w = new QWidget(parent);
    w->setFixedHeight(height);
    w->setAutoFillBackground(true);
    QPalette p = w->palette();
    p.setColor(QPalette::Window, kBlue);
    w->setPalette(p);
    return w;
}

} // namespace

QString FrmPrincipal::captionFor(const QString &user, const QString &company, const QString &server)
{
    return QStringLiteral("Atualizado 29-04-2024 / 19:30  - Nome do Usuario : ") + user +
           QStringLiteral(" - ") + company + QStringLiteral(" - ") + server;
}

FrmPrincipal::FrmPrincipal(QWidget *parent) : QWidget(parent, Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("FrmPrincipal"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    // Top band with the red close panel at its right end.
    QWidget *top = band(35, this);
    auto *topLayout = new QHBoxLayout(top);
    topLayout->setContentsMargins(8, 0, 0, 0);
    topLayout->addWidget(bandLabel(QStringLiteral("MENU PRINCIPAL"), 24, top));
    topLayout->addStretch();
    m_close = new QLabel(QStringLiteral("X"), top);
    m_close->setObjectName(QStringLiteral("PanelFechar"));
    m_close->setFixedSize(49, 35);
    m_close->setAlignment(Qt::AlignCenter);
    m_close->setCursor(Qt::PointingHandCursor);
    m_close->setStyleSheet(
        QStringLiteral("background: rgb(255,0,0); color: white; font: bold 20px Arial;"));
    m_close->installEventFilter(this);
    topLayout->addWidget(m_close);
    layout->addWidget(top);

    // The row of five buttons and the pictures.
    auto *row = new QHBoxLayout;
    row->setContentsMargins(4, 4, 4, 4);
    row->setSpacing(2);
    struct Def
    {
        const char *name;
        QString caption;
        QString hint;
        QStyle::StandardPixmap icon;
        void (FrmPrincipal::*slot)();
    };
    const Def defs[5] = {
        {"BtnPagar", QStringLiteral("Contas a &Pagar"),
         QStringLiteral("Meutanção de Contas a Pagar"), QStyle::SP_FileDialogDetailedView,
         &FrmPrincipal::BtnPagarClick},
        {"BtnFornecedor", QStringLiteral("&Fornecedor"), QStringLiteral("MAnutenção de Fornecedor"),
         QStyle::SP_DirHomeIcon, &FrmPrincipal::BtnFornecedorClick},
        {"BtnConta", QStringLiteral("&Banco/Conta"), QString(), QStyle::SP_DriveHDIcon,
         &FrmPrincipal::BtnContaClick},
        {"BtnCorrente", QStringLiteral("Conta &Corrente"), QString(), QStyle::SP_FileDialogListView,
         &FrmPrincipal::BtnCorrenteClick},
        {"BtnCaixa", QStringLiteral("Cai&xa"), QString(), QStyle::SP_DialogSaveButton,
         &FrmPrincipal::BtnCaixaClick},
    };
    for (int i = 0; i < 5; ++i) {
        auto *b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(defs[i].name));
        b->setText(defs[i].caption);
        b->setToolTip(defs[i].hint);
        b->setIcon(style()->standardIcon(defs[i].icon));
        b->setIconSize(QSize(48, 48));
        b->setFixedSize(100, 100);
        b->setAutoRaise(true);
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setCursor(Qt::PointingHandCursor);
        connect(b, &QToolButton::clicked, this, defs[i].slot);
        row->addWidget(b);
        m_buttons[i] = b;
    }
    row->addStretch();
    auto *rightPicture = new QLabel(this);
    rightPicture->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(96, 96));
    row->addWidget(rightPicture);
    layout->addLayout(row);

    auto *leftPicture = new QLabel(this);
    leftPicture->setPixmap(
        style()->standardIcon(QStyle::SP_FileDialogContentsView).pixmap(128, 128));
    leftPicture->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(leftPicture, 0, Qt::AlignLeft);

    // The caption also stands inside the window: it has no title bar.
    m_captionLine = new QLabel(this);
    m_captionLine->setObjectName(QStringLiteral("LabelCaption"));
    m_captionLine->setContentsMargins(8, 4, 8, 4);
    layout->addWidget(m_captionLine);
    layout->addStretch();

    QWidget *bottom = band(30, this);
    auto *bottomLayout = new QHBoxLayout(bottom);
    bottomLayout->setContentsMargins(8, 0, 8, 0);
    bottomLayout->addWidget(bandLabel(
        QStringLiteral("QUARVO SISTEMAS - Suporte: (11) 4002-8922 - suporte@quarvo.com.br"), 19,
        bottom));
    bottomLayout->addStretch();
    layout->addWidget(bottom);

    const QString company = DM::instance() ? DM::instance()->companyName() : QString();
    const QString server = DM::instance() ? DM::instance()->serverName() : QString();
    setWindowTitle(captionFor(CurrentUserName(), company, server));
    m_captionLine->setText(windowTitle());

    if (QScreen *screen = QGuiApplication::primaryScreen())
        setGeometry(screen->availableGeometry());
    TrimWorkingSet();
}

QToolButton *FrmPrincipal::button(int number) const
{
    return (number >= 1 && number <= 5) ? m_buttons[number - 1] : nullptr;
}

bool FrmPrincipal::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_close && event->type() == QEvent::MouseButtonRelease) {
        CloseClick();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void FrmPrincipal::CloseClick()
{
    TerminateApplication();
}

void FrmPrincipal::bringToFront()
{
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
    qInfo("contas-pagar: trazida para a frente por outra execução");
}

void FrmPrincipal::BtnPagarClick()
{
    // The payables maintenance screen opens here.
}

void FrmPrincipal::BtnContaClick()
{
    // The bank-account screen opens here.
}

void FrmPrincipal::BtnCorrenteClick()
{
    // The checking-account ledger opens here.
}

void FrmPrincipal::BtnFornecedorClick()
{
    startSibling(QStringLiteral("ModuloFornecedor.exe"), QStringLiteral("Cadastro de Fornecedor"));
}

void FrmPrincipal::BtnCaixaClick()
{
    startSibling(QStringLiteral("ModuloCaixa.exe"), QStringLiteral("Manutenção do Caixa"));
}

void FrmPrincipal::startSibling(const QString &fileName, const QString &description)
{
    const QString path = SiblingProgram::find(ExecutableDir(), fileName);
    if (path.isEmpty()) {
        Messages::error(QStringLiteral("ERRO"), description + QStringLiteral(" não instalado"));
        return;
    }
    // The user's name goes in the same place in which this program got it.
    SiblingProgram::runAndWait(path, {LauncherFirstArgument(), CurrentUserName()},
                               [] { return ApplicationTerminating(); });
}

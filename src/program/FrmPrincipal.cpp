#include "program/FrmPrincipal.h"

#include "app/DM.h"
#include "app/Globals.h"
#include "app/Helpers.h"
#include "ledger/FrmContaCorrente.h"
#include "ledger/LedgerMenu.h"
#include "payables/frmPagarManutencao.h"
#include "registries/FrmConta.h"
#include "shell/SiblingProgram.h"
#include "widgets/Icons.h"
#include "widgets/Messages.h"
#include "widgets/ProgramFace.h"
#include "widgets/TitleBand.h"
#include "widgets/WindowFit.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

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
    setFont(ProgramFace::font(8));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    // Top band with the red close panel at its right end.
    auto *top = new TitleBand(QStringLiteral("MENU PRINCIPAL"), this);
    top->setCloseWidth(49);
    top->setCloseAction([this] { CloseClick(); });
    m_close = top->closePanel();
    m_close->setObjectName(QStringLiteral("PanelFechar"));
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
        QString sign;
        QColor color;
        void (FrmPrincipal::*slot)();
    };
    const Def defs[5] = {
        {"BtnPagar", QStringLiteral("Contas a &Pagar"),
         QStringLiteral("Meutanção de Contas a Pagar"), "R$", QColor(0, 104, 210),
         &FrmPrincipal::BtnPagarClick},
        {"BtnFornecedor", QStringLiteral("&Fornecedor"), QStringLiteral("MAnutenção de Fornecedor"),
         "F", QColor(40, 150, 70), &FrmPrincipal::BtnFornecedorClick},
        {"BtnConta", QStringLiteral("&Banco/Conta"), QString(), "B", QColor(200, 120, 0),
         &FrmPrincipal::BtnContaClick},
        {"BtnCorrente", QStringLiteral("Conta &Corrente"), QString(), "CC", QColor(120, 60, 170),
         &FrmPrincipal::BtnCorrenteClick},
        {"BtnCaixa", QStringLiteral("Cai&xa"), QString(), "$", QColor(180, 30, 30),
         &FrmPrincipal::BtnCaixaClick},
    };
    for (int i = 0; i < 5; ++i) {
        auto *b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(defs[i].name));
        b->setText(defs[i].caption);
        b->setToolTip(defs[i].hint);
        b->setIcon(Icons::tile(defs[i].sign, defs[i].color));
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

    auto *bottom = new TitleBand(QStringLiteral("QUARVO SISTEMAS") + MakerCaption.mid(15), this);
    bottom->setBandHeight(30);
    bottom->setFontPixelSize(19);
    bottom->setCloseVisible(false);
    layout->addWidget(bottom);

    const QString company = DM::instance() ? DM::instance()->companyName() : QString();
    const QString server = DM::instance() ? DM::instance()->serverName() : QString();
    setWindowTitle(captionFor(CurrentUserName(), company, server));
    m_captionLine->setText(windowTitle());

    WindowFit::fill(this);
    TrimWorkingSet();
}

QToolButton *FrmPrincipal::button(int number) const
{
    return (number >= 1 && number <= 5) ? m_buttons[number - 1] : nullptr;
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
    auto *screen = new frmPagarManutencao(this);
    screen->setUserName(CurrentUserName());
    RunScreen(screen);
}

void FrmPrincipal::BtnContaClick()
{
    FrmConta::run(this);
}

void FrmPrincipal::BtnCorrenteClick()
{
    // The ledger's own report entries; the other folders register theirs.
    LedgerMenu::registerEntries();
    // The window is the current ledger window while it exists.
    RunScreen(new FrmContaCorrente(this));
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

#include "window/tnal1.h"

#include "labels/texts.h"
#include "platform/desktop/freedesktopnotifier.h"
#include "platform/desktop/notifierchain.h"
#include "platform/desktop/stderrnotifier.h"
#include "platform/desktop/traynotifier.h"
#include "window/appicon.h"
#include "window/traywatch.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QVBoxLayout>

namespace {

QFont tahoma(int pixelHeight)
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(pixelHeight);
    return font;
}

// The services with the program's messages going through `dialogs`.
Services withDialogs(Services services, Dialogs& dialogs)
{
    services.dialogs = &dialogs;
    return services;
}

QString countHint(qsizetype count)
{
    if (count == 0)
        return QStringLiteral("Liczba kodów w buforze: 0");
    return QStringLiteral("Liczba kodów w buforze:") + QString::number(count);
}

QPushButton* panelButton(QWidget* panel, const QString& caption, QRect geometry)
{
    auto* button = new QPushButton(caption, panel);
    button->setGeometry(geometry);
    button->setFont(tahoma(12));
    return button;
}

} // namespace

TNal1::TNal1(const Services& services, const QString& executableDir, const QStringList& arguments,
             QWidget* parent)
    : QWidget(parent)
    , m_reports(*services.dialogs)
    , m_labels(withDialogs(services, m_reports), executableDir, arguments)
    , m_trays(services.trays)
{
    buildWindow();
    buildTray();
    if (!services.notifier)
        makeNotifier();
    m_notifier = services.notifier ? services.notifier : m_ownNotifier.get();
    m_labels.runEnded = [this](const RunNotice& notice) { showRunNotice(notice); };
    m_labels.countChanged = [this] { setHint(countHint(m_labels.queue.ListaLini.size())); };
    m_labels.printedTakenOff = [this](bool asked) { showRemaining(asked); };
    // The first tick runs as soon as events flow, so that a full sheet waiting at start shows
    // at once; the ticks after it come every second.
    Timer1.setInterval(0);
    connect(&Timer1, &QTimer::timeout, this, guard().wrap([this] {
        if (Timer1.interval() == 0)
            Timer1.setInterval(1000);
        Timer1Timer();
    }));

    state.HideForm = false;
    {
        // A saved queue that cannot be read now is not reported again by the first ticks.
        const TickReports::Tick startUp(m_reports);
        guard().run([this] { m_labels.OpenNal(QString()); });
    }
    guard().run([this] { m_labels.restorePrinter(); });
    guard().run([this] { m_labels.tellNamedPrinterMissing(); });
    Timer1.start();
    hide();
}

TNal1::~TNal1() = default;

// Notices go to the desktop's notification service where the session has one, else to the
// tray icon's balloon, else to standard error.
void TNal1::makeNotifier()
{
    std::vector<std::unique_ptr<Notifier>> ways;
    ways.push_back(std::make_unique<FreedesktopNotifier>(Texts::appTitle()));
    ways.push_back(std::make_unique<TrayNotifier>([this] { return TrayIcon1; }, Texts::appTitle()));
    ways.push_back(std::make_unique<StderrNotifier>());
    m_ownNotifier = std::make_unique<NotifierChain>(std::move(ways));
}

void TNal1::buildWindow()
{
    setWindowTitle(Texts::windowCaption());
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    setWindowIcon(barcodeIcon());
    setFont(tahoma(10));
    resize(773, 521);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    auto* panel = new QWidget(this);
    panel->setFixedHeight(53);
    DrukujBut = panelButton(panel, QStringLiteral("&Drukuj"), {21, 15, 69, 23});
    UstawParBut = panelButton(panel, QStringLiteral("&Ustaw parametry "), {96, 15, 119, 23});
    RezygnujBut = panelButton(panel, QStringLiteral("&Ukryj"), {229, 15, 69, 23});
    OProgramie = panelButton(panel, QStringLiteral("&O programie"), {680, 15, 83, 23});
    DrukujBut->setDefault(true);
    for (auto key : {Qt::Key_Return, Qt::Key_Enter})
        connect(new QShortcut(key, this), &QShortcut::activated, DrukujBut, &QPushButton::click);

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setBackgroundRole(QPalette::Window);
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setFixedHeight(19);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(panel);
    layout->addWidget(ScrollBox1, 1);
    layout->addWidget(StatusBar1);

    connect(DrukujBut, &QPushButton::clicked, this, guard().wrap([this] { DrukujButClick(); }));
    connect(UstawParBut, &QPushButton::clicked, this, guard().wrap([this] { UstawParButClick(); }));
    connect(RezygnujBut, &QPushButton::clicked, this, guard().wrap([this] { RezygnujButClick(); }));
    connect(OProgramie, &QPushButton::clicked, this, guard().wrap([this] { OProgramieClick(); }));
}

void TNal1::buildTray()
{
    PopupMenu1 = new QMenu(this);
    m_defaultItem = PopupMenu1->addAction(QStringLiteral("Pokaż stronę"), this,
                                          guard().wrap([this] { Pokastron1Click(); }));
    QFont bold = PopupMenu1->font();
    bold.setBold(true);
    m_defaultItem->setFont(bold);
    PopupMenu1->setDefaultAction(m_defaultItem);
    PopupMenu1->addAction(QStringLiteral("Drukuj stronę"), this,
                          guard().wrap([this] { Drukujstron1Click(); }));
    PopupMenu1->addAction(QStringLiteral("Historia wydruków…"), this,
                          guard().wrap([this] { historyClick(); }));
    PopupMenu1->addSeparator();
    PopupMenu1->addAction(QStringLiteral("Usuń nalepki z bufora"), this,
                          guard().wrap([this] { Usunnal1Click(); }));
    PopupMenu1->addSeparator();
    PopupMenu1->addAction(QStringLiteral("Zamknij program"), this,
                          guard().wrap([this] { Zamknijprogram1Click(); }));

    if (!m_trays) {
        makeTrayIcon(TrayPresence::Kind::XEmbed);
        return;
    }
    // Qt's tray icon settles for one kind of notification area when it is made: it is made
    // once one is there, so that a host of StatusNotifierItems that comes late is used.
    m_trayWatch = std::make_unique<TrayWatch>(
        *m_trays, m_labels.dialogs(), [this](TrayPresence::Kind kind) { makeTrayIcon(kind); });
    m_trayWatch->poll();
}

void TNal1::makeTrayIcon(TrayPresence::Kind kind)
{
    m_trayKind = kind;
    TrayIcon1 = new QSystemTrayIcon(barcodeIcon(), this);
    TrayIcon1->setContextMenu(PopupMenu1);
    setHint(m_hint);
    connect(TrayIcon1, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                guard().run([this, reason] { trayActivated(reason); });
            });
    // Qt follows an XEmbed tray that goes and comes back.
    TrayIcon1->show();
}

// A host of StatusNotifierItems sends a click on the icon as Activate, which opens the window as
// "Pokaż stronę" does. In an XEmbed tray the double click does that, and a single click is
// only the first half of one.
void TNal1::trayActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::DoubleClick)
        TrayIcon1DblClick();
    else if (reason == QSystemTrayIcon::Trigger && m_trayKind == TrayPresence::Kind::StatusNotifier)
        Pokastron1Click();
}

// The icon's tooltip (and a StatusNotifierItem's) names the program above the count.
void TNal1::setHint(const QString& text)
{
    m_hint = text;
    if (TrayIcon1)
        TrayIcon1->setToolTip(Texts::appTitle() + QLatin1Char('\n') + m_hint);
}

void TNal1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        guard().run([this] { FormShow(); });
}

void TNal1::closeEvent(QCloseEvent* event)
{
    const QScopedValueRollback deciding(m_decidingToClose, true);
    const bool closing = FormClose();
    event->setAccepted(closing);
    if (closing)
        emit closed();
}

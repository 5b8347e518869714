#include "window/tnal1.h"

#include "labels/texts.h"
#include "platform/stderrnotifier.h"
#include "platform/traynotifier.h"
#include "window/appicon.h"

#include <cstdio>
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
    , m_trayAvailable(services.trayAvailable)
{
    buildWindow();
    buildTray();
    if (!services.notifier)
        m_ownNotifier = m_trayAvailable ? std::unique_ptr<Notifier>(new TrayNotifier(*TrayIcon1))
                                        : std::make_unique<StderrNotifier>();
    m_notifier = services.notifier ? services.notifier : m_ownNotifier.get();
    m_labels.runEnded = [this](const RunNotice& notice) { showRunNotice(notice); };
    m_labels.countChanged = [this] { setHint(countHint(m_labels.queue.ListaLini.size())); };
    m_labels.printedTakenOff = [this](bool asked) { showRemaining(asked); };
    Timer1.setInterval(1000);
    connect(&Timer1, &QTimer::timeout, this, guard().wrap([this] { Timer1Timer(); }));

    state.HideForm = false;
    {
        // A saved queue that cannot be read now is not reported again by the first ticks.
        const TickReports::Tick startUp(m_reports);
        guard().run([this] { m_labels.OpenNal(QString()); });
    }
    guard().run([this] { m_labels.restorePrinter(); });
    Timer1.start();
    hide();
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

    TrayIcon1 = new QSystemTrayIcon(barcodeIcon(), this);
    TrayIcon1->setContextMenu(PopupMenu1);
    connect(TrayIcon1, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::DoubleClick)
                    guard().run([this] { TrayIcon1DblClick(); });
            });
    // Shown at once, or as soon as a notification area appears.
    TrayIcon1->show();
    if (m_trayAvailable)
        return;
    const QString text = QStringLiteral(
        "Pulpit nie ma obszaru powiadomień, więc ikona programu nie jest widoczna.\n"
        "Program działa dalej: okno pojawi się, gdy w buforze będzie pełna strona naklejek.");
    std::fprintf(stderr, "zelk_nal: %s\n", qUtf8Printable(text));
    m_labels.dialogs().notify(
        {text, Texts::messageCaption(), MessageButtons::Ok, MessageIcon::Information});
}

QString TNal1::hint() const
{
    return TrayIcon1->toolTip();
}

void TNal1::setHint(const QString& text)
{
    TrayIcon1->setToolTip(text);
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

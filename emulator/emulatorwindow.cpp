#include "emulatorwindow.h"

#include "emulatorsession.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int LogLines = 5000;
constexpr int WindowWidth = 560;
constexpr int WindowHeight = 520;
} // namespace

EmulatorWindow::EmulatorWindow(EmulatorSession* session, const QString& portName, QWidget* parent)
    : QWidget(parent), m_session(session), m_cards(new QListWidget(this)), m_status(new QLabel(this)),
      m_log(new QPlainTextEdit(this))
{
    setWindowTitle("Lecteur virtuel - " + portName);
    auto* present = new QPushButton("Présenter", this);
    auto* remove = new QPushButton("Retirer", this);
    m_log->setReadOnly(true);
    m_log->setMaximumBlockCount(LogLines);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(present);
    buttons->addWidget(remove);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Port : " + portName, this));
    layout->addWidget(m_cards);
    layout->addLayout(buttons);
    layout->addWidget(m_status);
    layout->addWidget(m_log, 1);
    resize(WindowWidth, WindowHeight);

    connect(present, &QPushButton::clicked, this, [this] {
        if (m_cards->currentRow() >= 0)
            m_session->present(m_cards->currentRow());
    });
    connect(m_cards, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { m_session->present(m_cards->row(item)); });
    connect(remove, &QPushButton::clicked, this, [this] { m_session->remove(); });
    connect(m_session, &EmulatorSession::cardChanged, this, &EmulatorWindow::refresh);
    refresh();
}

void EmulatorWindow::appendLog(const QString& line)
{
    m_log->appendPlainText(line);
    refresh();
}

void EmulatorWindow::refresh()
{
    const ReaderModel* model = m_session->model();
    const int row = m_cards->currentRow();
    m_cards->clear();
    for (int i = 0; i < model->cards().size(); ++i) {
        const VirtualCard& card = model->cards()[i];
        m_cards->addItem(QString("%1  %2  (UID %3)%4")
                             .arg(i + 1)
                             .arg(card.name, ReaderText::uidText(card.chip.uid()),
                                  i == model->presentIndex() ? "  ◀ sur le lecteur" : ""));
    }
    m_cards->setCurrentRow(row);
    m_status->setText("Polling : " + model->pollPeek());
}

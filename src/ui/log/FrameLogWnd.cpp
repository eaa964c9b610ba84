#include "FrameLogWnd.h"

#include <set>

#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

#include "FrameLogModel.h"
#include "protocol/FrameLog.h"
#include "res/Resources.h"

namespace {

QString Line(const FrameLogEntry& entry) { return QString::fromStdString(FrameLogLine(entry)); }

}  // namespace

CFrameLogWnd::CFrameLogWnd(CFrameLog& log)
    : QWidget(nullptr, Qt::Window),
      m_log(log),
      m_model(new CFrameLogModel(log, this)),
      m_view(new QTableView(this)),
      m_save(new QPushButton(QStringLiteral("Save..."), this)),
      m_clear(new QPushButton(QStringLiteral("Clear"), this)) {
    setWindowTitle(QStringLiteral("Frame log - Sentrabus"));
    setWindowIcon(LoadAppIcon(IDR_MAINFRAME));

    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->setWordWrap(false);
    m_view->setAlternatingRowColors(true);
    m_view->verticalHeader()->hide();
    // Rows of one height let the view place ten thousand rows without
    // measuring them.
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    QHeaderView* columns = m_view->horizontalHeader();
    columns->setHighlightSections(false);
    columns->resizeSection(CFrameLogModel::kTime, 80);
    columns->resizeSection(CFrameLogModel::kDirection, 44);
    columns->resizeSection(CFrameLogModel::kBytes, 280);
    columns->resizeSection(CFrameLogModel::kOutcome, 170);
    columns->setSectionResizeMode(CFrameLogModel::kMeaning, QHeaderView::Stretch);
    m_view->installEventFilter(this);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_save);
    buttons->addWidget(m_clear);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view, 1);
    layout->addLayout(buttons);
    resize(1000, 420);

    connect(m_save, &QPushButton::clicked, this, &CFrameLogWnd::OnSave);
    connect(m_clear, &QPushButton::clicked, this, &CFrameLogWnd::OnClear);
    connect(m_model, &QAbstractItemModel::rowsAboutToBeInserted, this, [this] { m_follow = AtBottom(); });
    connect(m_model, &QAbstractItemModel::rowsInserted, this, [this] {
        if (m_follow) m_view->scrollToBottom();
    });
    m_view->scrollToBottom();
}

CFrameLogWnd::~CFrameLogWnd() = default;

bool CFrameLogWnd::AtBottom() const {
    const QScrollBar* bar = m_view->verticalScrollBar();
    return bar->value() >= bar->maximum();
}

bool CFrameLogWnd::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_view && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        CopySelection();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

QString CFrameLogWnd::SelectedText() const {
    std::set<int> rows;
    for (const QModelIndex& index : m_view->selectionModel()->selectedRows()) rows.insert(index.row());
    QString text;
    for (int row : rows) text += Line(m_model->Entry(row)) + u'\n';
    return text;
}

void CFrameLogWnd::CopySelection() {
    const QString text = SelectedText();
    if (!text.isEmpty()) QGuiApplication::clipboard()->setText(text);
}

bool CFrameLogWnd::SaveTo(const QString& path, QString* error) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        QString text = QStringLiteral("Time (ms)\tDir\tBytes\tMeaning\tOutcome\n");
        for (const FrameLogEntry& entry : m_log.EntriesFrom(0)) text += Line(entry) + u'\n';
        file.write(text.toUtf8());
        if (file.commit()) return true;
    }
    if (error) *error = file.errorString();
    return false;
}

// The file dialog and the error box are opened, not run: the window thread
// goes straight back to its loop, where an exchange may be waiting.
void CFrameLogWnd::OnSave() {
    auto* dialog = new QFileDialog(this, QStringLiteral("Save frame log"),
                                   QDir::home().filePath(QStringLiteral("sentrabus-frames.txt")),
                                   QStringLiteral("Text files (*.txt);;All files (*)"));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setDefaultSuffix(QStringLiteral("txt"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QFileDialog::fileSelected, this, [this](const QString& path) {
        QString error;
        if (SaveTo(path, &error)) return;
        auto* box = new QMessageBox(QMessageBox::Warning, windowTitle(),
                                    QStringLiteral("The frame log could not be saved to %1:\n%2").arg(path, error),
                                    QMessageBox::Ok, this);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
    });
    dialog->open();
}

void CFrameLogWnd::OnClear() {
    m_log.Clear();
    m_model->CatchUp();
}

// The frame log window in the real program: the rows of a search and a read,
// copying and clearing them, keeping up with a flood of entries, and taking
// the operator's input while a modal window of the program is open.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "protocol/FrameCodes.h"
#include "protocol/FrameLog.h"
#include "support/MainWindowFixture.h"
#include "ui/lcd/LcdControlDlg.h"
#include "ui/log/FrameLogModel.h"
#include "ui/log/FrameLogWnd.h"
#include "res/IdsConfig.h"

namespace {

class FrameLogWindow : public MainWindowFixture {
protected:
    CFrameLogWnd& OpenLog() {
        Dlg().OnSysCommand(CConfigDlg::kFrameLogCommand);
        CFrameLogWnd* log = Dlg().FrameLogWindow();
        if (!log) throw std::logic_error("no frame log window");
        log->Model()->CatchUp();
        return *log;
    }

    static QString Cell(CFrameLogWnd& log, int row, int column) {
        return log.Model()->index(row, column).data().toString();
    }

    // An operator's click, routed by the window system (which drops input
    // to a window that a modal window blocks).
    static void OperatorClick(QWidget* button) {
        QWidget* window = button->window();
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, button->mapTo(window, button->rect().center()));
        QApplication::processEvents();
    }
};

TEST_F(FrameLogWindow, ShowsASearchAndAReadInWordsAndCopiesAndClearsThem) {
    OpenOnFoundDevice({.kind = sim::DeviceKind::Th, .address = 5, .baud = 4800});
    Device().SetRegister(kRegHumidity, 0x0258);
    Device().SetRegister(kRegTemperature, 0xFF38);
    Click(kIdReadTemperature);
    CFrameLogWnd& log = OpenLog();

    struct Row {
        std::string direction;
        const char* bytes;  // nullptr: not compared
        std::string meaning;
        std::string outcome;
    };
    const std::string device = Device().SlavePath();
    const std::string opened = "opened COM1 (" + device + ") at ";
    const std::string closed = "closed COM1 (" + device + ")";
    // The port opens at start-up; the search reopens it at 2400 bit/s first,
    // where the device hears only noise, then at 4800.
    const std::vector<Row> expected = {
        {"port", "", opened + "4800 bit/s", ""},
        {"port", "", closed, ""},
        {"port", "", opened + "2400 bit/s", ""},
        {"tx", "FD FD FD 00 00 E9 88", "FD query", ""},
        {"rx", "", "nothing within 500 ms", "no reply"},
        {"port", "", closed, ""},
        {"port", "", opened + "4800 bit/s", ""},
        {"tx", "FD FD FD 00 00 E9 88", "FD query", ""},
        {"rx", "FD FD FD 02 05 28 EB", "FD reply: address 5, baud code 2 (4800 bit/s)", "good"},
        {"tx", "05 03 00 00 00 02 C5 8F", "register read of 2 registers from 0x0000 at address 5 (humidity, temperature)",
         ""},
        {"rx", nullptr, "register reply from address 5: humidity 60.0, temperature -20.0", "good"},
    };
    ASSERT_EQ(log.Model()->rowCount(), static_cast<int>(expected.size()));
    for (int row = 0; row < log.Model()->rowCount(); ++row) {
        const Row& e = expected[static_cast<std::size_t>(row)];
        EXPECT_EQ(Cell(log, row, CFrameLogModel::kDirection).toStdString(), e.direction) << row;
        if (e.bytes) {
            EXPECT_EQ(Cell(log, row, CFrameLogModel::kBytes), e.bytes) << row;
        }
        EXPECT_EQ(Cell(log, row, CFrameLogModel::kMeaning).toStdString(), e.meaning) << row;
        EXPECT_EQ(Cell(log, row, CFrameLogModel::kOutcome).toStdString(), e.outcome) << row;
    }

    // Ctrl+C copies the selected rows, oldest first, as the log writes them.
    log.View()->selectRow(10);
    log.View()->selectionModel()->select(log.Model()->index(9, 0),
                                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QTest::keyClick(log.View(), Qt::Key_C, Qt::ControlModifier);
    const QStringList lines = QGuiApplication::clipboard()->text().split(u'\n');
    ASSERT_EQ(lines.size(), 3);  // two rows and the end of the last line
    EXPECT_TRUE(lines[0].endsWith("\ttx\t05 03 00 00 00 02 C5 8F\tregister read of 2 registers from 0x0000 at "
                                  "address 5 (humidity, temperature)\t"))
        << lines[0].toStdString();
    EXPECT_TRUE(lines[1].endsWith("\tregister reply from address 5: humidity 60.0, temperature -20.0\tgood"))
        << lines[1].toStdString();

    // Save writes the whole log under a heading line.
    QTemporaryDir dir;
    const QString path = dir.filePath("frames.txt");
    ASSERT_TRUE(log.SaveTo(path));
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll().count('\n'), 12);
    QString error;
    EXPECT_FALSE(log.SaveTo(dir.filePath("no/such/dir/frames.txt"), &error));
    EXPECT_FALSE(error.isEmpty());

    log.ClearButton()->click();
    EXPECT_EQ(log.Model()->rowCount(), 0);
    EXPECT_EQ(Dlg().FrameLog().Size(), 0U);
}

TEST_F(FrameLogWindow, SaysWhyAPortWouldNotOpenAndWhatToDo) {
    QTemporaryDir dir;
    const QString plainFile = dir.filePath("not-a-tty");
    QFile file(plainFile);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const std::vector<std::pair<QByteArray, std::string>> cases = {
        {"/nonexistent/sentrabus-test-port", "no such device: check the adapter is plugged in and the port number"},
        {plainFile.toLocal8Bit(), "not a serial device: the port leads to something else"},
    };
    for (const auto& [path, advice] : cases) {
        qputenv("SENTRABUS_COM1", path);
        OpenMainWindow();
        CFrameLogWnd& log = OpenLog();
        ASSERT_GE(log.Model()->rowCount(), 1) << path.constData();
        EXPECT_EQ(Cell(log, 0, CFrameLogModel::kDirection), "port");
        EXPECT_TRUE(Cell(log, 0, CFrameLogModel::kMeaning).contains(QString::fromLocal8Bit(path)))
            << Cell(log, 0, CFrameLogModel::kMeaning).toStdString();
        EXPECT_EQ(Cell(log, 0, CFrameLogModel::kOutcome).toStdString(), advice);
        // The box keeps the system's own text.
        EXPECT_EQ(OnlyBox().text, "Serial port open failed");
        ClearBoxes();
        CloseMainWindow();
    }
}

TEST_F(FrameLogWindow, KeepsUpWithAFloodFollowsTheNewestRowAndStaysBounded) {
    OpenMainWindow();
    CFrameLogWnd& log = OpenLog();
    log.show();
    log.OnClear();  // the start-up's port row
    CFrameLog& frames = Dlg().FrameLog();
    const auto flood = [&](int entries) {
        for (int i = 0; i < entries; ++i) frames.Append(LogDirection::Sent, {}, "entry " + std::to_string(i));
        QTest::qWait(2 * CFrameLogModel::kCatchUpMs);
    };

    flood(1000);
    EXPECT_EQ(log.Model()->rowCount(), 1000);
    QScrollBar* bar = log.View()->verticalScrollBar();
    EXPECT_EQ(bar->value(), bar->maximum()) << "new rows scroll into view";

    bar->setValue(bar->maximum() / 2);
    const int scrolledTo = bar->value();
    flood(10);
    EXPECT_EQ(bar->value(), scrolledTo) << "scrolled up, the operator's place is kept";

    flood(static_cast<int>(CFrameLog::kCapacity));
    EXPECT_EQ(log.Model()->rowCount(), static_cast<int>(CFrameLog::kCapacity));
    EXPECT_EQ(frames.Size(), CFrameLog::kCapacity);
    EXPECT_EQ(Cell(log, 0, CFrameLogModel::kMeaning), "entry 0") << "the oldest entries went";
}

TEST_F(FrameLogWindow, TakesInputWhileAModalWindowBlocksTheMainWindow) {
    OpenOnFoundDevice({.kind = sim::DeviceKind::Th, .address = 5, .baud = 4800});
    CFrameLogWnd& log = OpenLog();
    log.show();
    // The operator goes back to the main window and opens the LCD window.
    QApplication::setActiveWindow(&Dlg());
    WhileOpenedBy(kIdLcdControlMode, Dlg().LcdWindow(), [&] {
        OperatorClick(log.ClearButton());
        EXPECT_EQ(log.Model()->rowCount(), 0) << "the frame log took the click";

        ClearBusy();
        OperatorClick(Dlg().GetDlgItem(kIdReadTemperature));
        Pump(ms(100));
        EXPECT_TRUE(Requests().empty()) << "the main window beneath the LCD window took it";
    });
}

}  // namespace

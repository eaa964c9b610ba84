#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QStyle>
#include <QTest>
#include <QTimer>

#include "widgets/qt/MessageBoxQt.h"

namespace {

TEST(MessageBoxSeam, HookSeesResolvedCaptionAndIcon) {
    std::vector<MessageBoxCall> calls;
    SetMessageBoxHook([&](const MessageBoxCall& call) {
        calls.push_back(call);
        return 1;
    });
    EXPECT_EQ(ShowMessageBox(nullptr, "Serial port open failed", "Serial prompt", MsgIcon::Stop), 1);
    ShowMessageBox(nullptr, "Done");
    SetMessageBoxHook({});

    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].caption, "Serial prompt");
    EXPECT_EQ(calls[0].icon, MsgIcon::Stop);
    EXPECT_EQ(calls[1].caption, QCoreApplication::applicationName().toStdString()) << "no caption: the program's name";
    EXPECT_EQ(calls[1].icon, MsgIcon::None);
}

TEST(MessageBoxSeam, ClipboardTextHasTheWindowsLayout) {
    const MessageBoxCall call{"是否清除本设备？", "Warning", MsgIcon::Question};
    EXPECT_EQ(MessageBoxClipboardText(call),
              "---------------------------\n"
              "Warning\n"
              "---------------------------\n"
              "是否清除本设备？\n"
              "---------------------------\n"
              "OK   \n"
              "---------------------------\n");
    EXPECT_EQ(MessageBoxClipboardText({"a", "b", MsgIcon::None}, "\r\n"),
              "---------------------------\r\nb\r\n---------------------------\r\na\r\n"
              "---------------------------\r\nOK   \r\n---------------------------\r\n")
        << "every line ends in the given line end";
}

TEST(MessageBoxSeam, RealBoxShowsCaptionIconAndCopiesOnCtrlC) {
    QGuiApplication::clipboard()->clear();
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QImage iconImage;
    int buttons = 0;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        iconImage = box->iconPixmap().toImage();
        buttons = static_cast<int>(box->buttons().size());
        QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
        box->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(ShowMessageBox(nullptr, "Relay1 control failed", "Relay Control", MsgIcon::Question), 1);
    EXPECT_EQ(title, QStringLiteral("Relay Control"));
    EXPECT_EQ(text, QStringLiteral("Relay1 control failed"));
    EXPECT_EQ(icon, QMessageBox::Question);
    const int iconSize = QApplication::style()->pixelMetric(QStyle::PM_MessageBoxIconSize);
    EXPECT_EQ(iconImage, QApplication::style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(iconSize).toImage())
        << "the desktop's own question icon, drawn";
    EXPECT_EQ(buttons, 1);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(),
              MessageBoxClipboardText({"Relay1 control failed", "Relay Control", MsgIcon::Question}));
}

TEST(MessageBoxSeam, IconsMapToTheirQtKinds) {
    struct Case {
        MsgIcon icon;
        QMessageBox::Icon expected;
    };
    for (const Case& c : {Case{MsgIcon::Stop, QMessageBox::Critical}, Case{MsgIcon::Warning, QMessageBox::Warning},
                          Case{MsgIcon::Information, QMessageBox::Information}, Case{MsgIcon::None, QMessageBox::NoIcon}}) {
        QMessageBox::Icon shown = QMessageBox::Question;
        QString title;
        QTimer::singleShot(0, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown = box->icon();
                title = box->windowTitle();
                box->button(QMessageBox::Ok)->click();
            }
        });
        ShowMessageBox(nullptr, "text", {}, c.icon);
        EXPECT_EQ(shown, c.expected);
        EXPECT_EQ(title, QCoreApplication::applicationName());
    }
}

}  // namespace

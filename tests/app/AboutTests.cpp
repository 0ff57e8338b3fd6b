#include "AboutTexts.h"
#include "MainFrame.h"
#include "MainWindow.h"
#include "Messages.h"
#include "WindowCatalog.h"
#include "Windows.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

class AboutTests : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        RegisterAllWindows();
        window = new MainWindow;
        window->startUp();
        messages.clear();
        SetMessageHook([this](const QString &text, const QString &) { messages << text; });
    }
    void cleanup()
    {
        SetMessageHook(nullptr);
        delete window;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void showsTheTextsOfTheLanguageAndFollowsASwitch()
    {
        window->findChild<QAction *>("Menu_About")->trigger();
        QWidget *about = Windows::Find(WindowId::About);
        QVERIFY(about && OpenWindows[WindowId::About]);
        QCOMPARE(label(about, "lblTitle"), QString("QL540 系列对讲机编程软件"));
        QVERIFY(label(about, "lblVersion").startsWith("Ver1.2"));
        QCOMPARE(button(about, "cmdOK"), QString("确定"));
        QCOMPARE(button(about, "cmdSysInfo"), QString("系统信息(&S)..."));

        window->findChild<QAction *>("Language_eng")->trigger();
        about = Windows::Find(WindowId::About);
        QVERIFY(about);
        QCOMPARE(label(about, "lblTitle"),
                 QString("Norvale TARVEX Electronic Co.,Ltd. QL540 series program software. "));
        QVERIFY(label(about, "lblVersion").startsWith("Ver1.2"));
        QVERIFY(label(about, "lblDisclaimer").startsWith("Warning"));
        QCOMPARE(button(about, "cmdOK"), QString("Confirm"));
        QCOMPARE(button(about, "cmdSysInfo"), QString("System Information(&S)..."));
        QCOMPARE(AboutTexts.ok, QString("Confirm"));

        about->findChild<QPushButton *>("cmdOK")->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!OpenWindows[WindowId::About]);
    }

    void sitsCentredAndLifted()
    {
        window->resize(1200, 900);
        window->findChild<QAction *>("Menu_About")->trigger();
        QWidget *frame = Windows::Find(WindowId::About)->parentWidget();
        const QSize inner = window->mdiArea()->viewport()->size();
        QCOMPARE(frame->x(), (inner.width() - frame->width()) / 2);
        QCOMPARE(frame->y(), std::max(0, (inner.height() - frame->height()) / 2 - Twips(500)));
    }

    // Without a tool the message names the situation in either language;
    // with one installed it is started and nothing is said.
    void systemInformationStartsTheToolOrSaysItIsUnavailable()
    {
        const QByteArray path = qgetenv("PATH");
        QTemporaryDir bin;
        qputenv("PATH", bin.path().toLocal8Bit());
        window->findChild<QAction *>("Language_eng")->trigger();
        window->findChild<QAction *>("Menu_About")->trigger();
        Windows::Find(WindowId::About)->findChild<QPushButton *>("cmdSysInfo")->click();
        QCOMPARE(messages, QStringList{"此时系统信息不可用"});

        const QString marker = bin.filePath("started");
        QFile tool(bin.filePath("hardinfo"));
        QVERIFY(tool.open(QIODevice::WriteOnly));
        tool.write(QStringLiteral("#!/bin/sh\n/usr/bin/touch '%1'\n").arg(marker).toLocal8Bit());
        tool.close();
        tool.setPermissions(tool.permissions() | QFileDevice::ExeOwner);
        Windows::Find(WindowId::About)->findChild<QPushButton *>("cmdSysInfo")->click();
        qputenv("PATH", path);
        QTRY_VERIFY(QFile::exists(marker));
        QCOMPARE(messages.size(), 1);
    }

private:
    static QString label(QWidget *w, const char *name)
    {
        return w->findChild<QLabel *>(name)->text();
    }
    static QString button(QWidget *w, const char *name)
    {
        return w->findChild<QPushButton *>(name)->text();
    }

    MainWindow *window = nullptr;
    QStringList messages;
};

QTEST_MAIN(AboutTests)
#include "AboutTests.moc"

// Qt's own dialogs and buttons follow the program's language.
#include "MainWindow.h"
#include "QtTranslations.h"
#include "WindowCatalog.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QLibraryInfo>
#include <QPushButton>
#include <QTest>

class QtTranslationsTests : public QObject {
    Q_OBJECT
private slots:
    void standardButtonsSpeakTheProgramsLanguage()
    {
        RegisterAllWindows();
        MainWindow window;
        window.startUp(); // always in Chinese
        const auto buttons = [] {
            QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
            return box.button(QDialogButtonBox::Ok)->text() + u'|'
                   + box.button(QDialogButtonBox::Cancel)->text();
        };
        QCOMPARE(buttons(), QString("确定|取消"));
        QCOMPARE(QCoreApplication::translate("QFileDialog", "Look in:"), QString("查找范围："));
        window.switchLanguage(false);
        QCOMPARE(buttons(), QString("OK|Cancel"));
        window.switchLanguage(true);
        QCOMPARE(buttons(), QString("确定|取消"));
    }

    // The Windows installer puts Qt's files beside the program; Qt's own
    // folder comes after it.
    void foldersBesideTheProgramFirst()
    {
        const QStringList folders = QtTranslationFolders();
        QCOMPARE(folders.size(), 2);
        QCOMPARE(folders.at(0),
                 QDir(QCoreApplication::applicationDirPath()).filePath("translations"));
        QCOMPARE(folders.at(1), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    }
};

QTEST_MAIN(QtTranslationsTests)
#include "QtTranslationsTests.moc"

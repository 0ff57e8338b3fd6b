// The yardstick of bench/startup-time.sh: a bare Qt MDI window as large as
// the program's, holding one table of the channel grid's shape (a header
// row over 128 rows of 8 columns, every cell an item, numbered like the
// grid). Nothing else: no menus, toolbar, status bar or image.
#include <QApplication>
#include <QHeaderView>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QTableWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    auto *area = new QMdiArea(&window);
    window.setCentralWidget(area);
    const QSize screen = QGuiApplication::primaryScreen()->size();
    window.resize(int(screen.width() / 1.5), int(screen.height() / 1.5));
    window.show();

    constexpr int Rows = 128;
    constexpr int Columns = 8;
    auto *table = new QTableWidget(Rows, Columns);
    table->verticalHeader()->hide();
    for (int c = 0; c < Columns; ++c)
        table->setHorizontalHeaderItem(c, new QTableWidgetItem(QStringLiteral("Column %1").arg(c)));
    for (int r = 0; r < Rows; ++r)
        for (int c = 0; c < Columns; ++c)
            table->setItem(r, c, new QTableWidgetItem(c == 0 ? QString::number(r + 1) : QString()));
    QMdiSubWindow *sub = area->addSubWindow(table);
    sub->setGeometry(0, 0, int(window.width() / 1.2), int(window.height() / 1.3));
    sub->show();
    return app.exec();
}

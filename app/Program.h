// The program as main() starts it once the application object exists: the
// windows, the main window with its start-up sequence, and the keeping of
// the user's work (recovery file, backups of reads, recent files). Tests
// that run the program as a process of its own start it the same way.
#pragma once

#include <QString>
#include <memory>

class KeepingUi;
class MainWindow;
class WorkKeeper;

inline constexpr const char *ProgramName = "QL540 CPS";

class Program {
public:
    Program();
    // Unsaved work stays in the recovery file for the next start.
    ~Program();

    // Shows the main window; once the event loop runs, opens file (a
    // channel file, when given), then offers to restore unsaved work of an
    // earlier run: the file goes first, so a restore is never overwritten.
    void start(const QString &file = QString());

    MainWindow &window() { return *window_; }
    WorkKeeper &keeper() { return *keeper_; }

private:
    std::unique_ptr<WorkKeeper> keeper_;
    std::unique_ptr<MainWindow> window_;
};

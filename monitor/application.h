// The programs' application object, with what the language runtime does for
// them: an error that no handler catches ends the program with its number,
// source and description shown; and a request to end from outside (SIGTERM,
// SIGINT, SIGHUP) goes through the program's own exit sequence, so the tray
// icon goes with it.
#pragma once

#include <QApplication>

#include <functional>
#include <memory>

class QSocketNotifier;

namespace monitor {

class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);
    ~Application() override;

    // Shows an unhandled error to the user; a message box unless set.
    using ErrorBox = std::function<void(const QString& title, const QString& text)>;
    void setErrorBox(ErrorBox box) { errorBox_ = std::move(box); }
    // Ends the program the way its own close command does.
    void endOnSignals(std::function<void()> end);

    static constexpr int UnhandledErrorStatus = 1;

    bool notify(QObject* receiver, QEvent* event) override;

private:
    void unhandled(int number, const QString& source, const QString& description);

    ErrorBox errorBox_;
    std::function<void()> end_;
    std::unique_ptr<QSocketNotifier> signalled_;
};

} // namespace monitor

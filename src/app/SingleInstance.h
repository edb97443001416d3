// The guard against a second running copy: the first copy listens on a local
// socket named from the single-instance probe and the user; a second copy
// finds it, asks it to raise its main window and ends.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QLocalServer;

namespace kvelo {

// The socket name of a probe text for this user.
QString SingleInstanceName(const std::string& probe);

class SingleInstanceGuard : public QObject {
    Q_OBJECT
public:
    explicit SingleInstanceGuard(const std::string& probe, QObject* parent = nullptr);
    // True when another copy answered (it was asked to raise its window).
    bool OtherRunning();
    // Starts listening; `raise` runs when a later copy asks.
    bool Listen(std::function<void()> raise);

private:
    QString name_;
    QLocalServer* server_ = nullptr;
    std::function<void()> raise_;
};

} // namespace kvelo

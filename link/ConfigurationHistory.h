#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

// Every configuration a device sent, and every document "Set" sent to it with the
// device's answer, kept as files so that support can see what a device held before
// and what it was given. One folder per device: its type and serial number when
// the configuration names them, else its address. File names start with the UTC
// time, so that they sort by age; a device keeps its newest 100 files.
//
// Keeping never stops the operator: a file that cannot be written is one event-log
// entry (the `report` callback), and the work goes on.
class ConfigurationHistory {
public:
    enum class Answer { Applied, PartlyApplied, NotConfirmed };

    static constexpr int FilesPerDevice = 100;

    // `directory` empty: "history" in the user's data directory of the program.
    // `clock` gives the UTC time of each file (tests fix it).
    ConfigurationHistory(const QString& directory, std::function<void(const QByteArray&)> report,
                         std::function<qint64()> clockMs = {});

    // The configuration as received (the same bytes as the stored file), from the
    // device at `address`.
    void keepReceived(const QByteArray& configuration, const QString& address);
    // The document "Set" sent, and how the device answered.
    void keepSent(const QByteArray& document, const QString& address, Answer answer);

    const QString& directory() const { return directory_; }

private:
    void keep(const QByteArray& bytes, const QString& folderName, const char* what);
    QString deviceFolder(const QByteArray& configuration, const QString& address) const;

    QString directory_;
    std::function<void(const QByteArray&)> report_;
    std::function<qint64()> clockMs_;
    // The folder of the last configuration received: the documents sent afterwards
    // belong to the same device.
    QString lastFolder_;
    QString lastAddress_;
};

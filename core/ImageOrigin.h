// Announces the moments at which the image in memory equals something kept
// outside the program: a file just opened or saved, a read just completed.
// The change path announces what changed; this one says when the image is
// safe again, also when opening or reading changed nothing.
#pragma once

#include <QObject>
#include <QString>

class ImageOrigin : public QObject {
    Q_OBJECT
public:
    static ImageOrigin &instance();

    // Called after the image has been replaced by the file's contents.
    void fileOpened(const QString &path) { emit opened(path); }
    // Called once the file holds the whole image.
    void fileSaved(const QString &path) { emit saved(path); }
    // Called once a completed read has been stored into the image.
    void radioRead() { emit read(); }

signals:
    void opened(const QString &path);
    void saved(const QString &path);
    void read();

private:
    ImageOrigin() = default;
};

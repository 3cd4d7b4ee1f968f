#pragma once

#include "generation/ImagePicker.h"

#include <QImage>
#include <QObject>
#include <QQuickImageProvider>
#include <QUrl>
#include <QtQml/qqmlregistration.h>
#include <memory>

namespace vornel {

class HomeView;

// The desktop picker sheet: choose a file, crop it square, confirm or
// cancel. It keeps the picker contract through a Coordinator: only the
// cropped image reaches the home screen, and the sheet always closes.
class PhotoPickerSheet : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(vornel::HomeView* home READ home WRITE setHome NOTIFY homeChanged)
    Q_PROPERTY(bool hasPhoto READ hasPhoto NOTIFY photoChanged)
    Q_PROPERTY(QString error READ error NOTIFY photoChanged)
    Q_PROPERTY(QString photoSource READ photoSource NOTIFY photoChanged)
    Q_PROPERTY(int photoWidth READ photoWidth NOTIFY photoChanged)
    Q_PROPERTY(int photoHeight READ photoHeight NOTIFY photoChanged)
    Q_PROPERTY(QUrl picturesFolder READ picturesFolder CONSTANT)
public:
    explicit PhotoPickerSheet(QObject* parent = nullptr);
    ~PhotoPickerSheet() override;

    HomeView* home() const { return m_home; }
    void setHome(HomeView* home);
    bool hasPhoto() const { return !m_photo.isNull(); }
    QString error() const { return m_error; }
    QString photoSource() const;
    int photoWidth() const { return m_photo.width(); }
    int photoHeight() const { return m_photo.height(); }
    const QImage& photo() const { return m_photo; }
    static QUrl picturesFolder();

    // Opens a chosen file; a bad one leaves a message in `error`.
    Q_INVOKABLE bool choose(const QUrl& file);
    // Confirms the square crop, in the photo's pixels.
    Q_INVOKABLE void confirm(double x, double y, double side);
    // Closes without a pick.
    Q_INVOKABLE void cancel();

    // The picker session shown now, for the image provider.
    static PhotoPickerSheet* current();

signals:
    void homeChanged();
    void photoChanged();
    void dismissRequested();

private:
    HomeView* m_home = nullptr;
    QImage m_photo;
    QString m_error;
    int m_generation = 0;
};

// Serves the in-memory images to QML: image://vornel/profile/<n> is the home
// screen's photo, image://vornel/picker/<n> the picker's chosen photo.
class VornelImageProvider : public QQuickImageProvider {
public:
    VornelImageProvider() : QQuickImageProvider(QQuickImageProvider::Image) {}
    QImage requestImage(const QString& id, QSize* size, const QSize& requestedSize) override;
};

} // namespace vornel

#pragma once

#include "screens/ScreenState.h"

#include <QObject>
#include <QString>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

namespace vornel {

// The app-wide support address of the feedback alerts.
QString supportEmail();

// One question and its answer on a help page, shown verbatim.
class FAQSection {
    Q_GADGET
    QML_VALUE_TYPE(faqSection)
    Q_PROPERTY(QString title MEMBER title CONSTANT)
    Q_PROPERTY(QString content MEMBER content CONSTANT)
public:
    QString title;
    QString content;
    friend bool operator==(const FAQSection&, const FAQSection&) = default;
};

// The two help pages: their entries, the "Send a message" action and the
// "Get in Touch!" alert.
class HelpPage : public QObject {
    Q_OBJECT
    Q_PROPERTY(QList<FAQSection> entries READ entries CONSTANT)
    Q_PROPERTY(bool showMessageAlert READ showMessageAlert WRITE setShowMessageAlert NOTIFY
                   showMessageAlertChanged)
    Q_PROPERTY(QString alertMessage READ alertMessage CONSTANT)
    VORNEL_FLAG(showMessageAlert, ShowMessageAlert)
public:
    QList<FAQSection> entries() const { return m_entries; }
    QString alertMessage() const;
    // Shows the alert and puts the support address on the pasteboard.
    Q_INVOKABLE void sendMessage();

signals:
    void showMessageAlertChanged();

protected:
    HelpPage(QList<FAQSection> entries, QString messageStart, QObject* parent);

private:
    QList<FAQSection> m_entries;
    QString m_messageStart;
};

class EverythingElseView : public HelpPage {
    Q_OBJECT
    QML_ELEMENT
public:
    explicit EverythingElseView(QObject* parent = nullptr);
};

class DontLikeResultView : public HelpPage {
    Q_OBJECT
    QML_ELEMENT
public:
    explicit DontLikeResultView(QObject* parent = nullptr);
};

// The settings list: help pages, feedback with the "Say Hello!" alert, and
// the store's review page.
class SettingView : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool showMessageAlert READ showMessageAlert WRITE setShowMessageAlert NOTIFY
                   showMessageAlertChanged)
    Q_PROPERTY(QString alertMessage READ alertMessage CONSTANT)
    VORNEL_FLAG(showMessageAlert, ShowMessageAlert)
public:
    explicit SettingView(QObject* parent = nullptr) : QObject(parent) {}
    QString alertMessage() const;
    // "Send Feedback": shows the alert and puts the support address on the pasteboard.
    Q_INVOKABLE void sendFeedback();
    // "Rate AI Vornel".
    Q_INVOKABLE void rateApp();

signals:
    void showMessageAlertChanged();
};

// The saved-portrait card.
class FloatBottomImageSaved : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QUrl url MEMBER m_url NOTIFY urlChanged)
    Q_PROPERTY(QString text READ text CONSTANT)
public:
    explicit FloatBottomImageSaved(QObject* parent = nullptr) : QObject(parent) {}
    static QString text() { return QObject::tr("Your image has been saved to a gallery."); }
    // Presenter settings of this card.
    static constexpr int autoCloseMs = 2000;
    static constexpr bool closesOnOutsideTap = false;
    static constexpr double backdropOpacity = 0.0;

signals:
    void urlChanged();

private:
    QUrl m_url;
};

// The rejected-photo card, bound to the home screen's flag and title.
class PopupBottomFailedImagePickView : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool isPresented READ isPresented WRITE setIsPresented NOTIFY isPresentedChanged)
    Q_PROPERTY(QString title MEMBER m_title NOTIFY titleChanged)
    Q_PROPERTY(QString explanation READ explanation CONSTANT)
    VORNEL_FLAG(isPresented, IsPresented)
public:
    explicit PopupBottomFailedImagePickView(QObject* parent = nullptr) : QObject(parent) {}
    static QString explanation();
    // "Ok, I understand": flips the flag, which closes the card.
    Q_INVOKABLE void understood() { toggleIsPresented(); }
    static constexpr int autoCloseMs = 0; // never
    static constexpr bool closesOnOutsideTap = true;
    static constexpr double backdropOpacity = 0.5;

signals:
    void isPresentedChanged();
    void titleChanged();

private:
    QString m_title;
};

} // namespace vornel

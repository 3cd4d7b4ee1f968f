#include "screens/StaticScreens.h"

#include "engagement/ReviewHandler.h"
#include "platform/PlatformServices.h"
#include "vornel_config.h"

namespace vornel {

QString supportEmail()
{
    return QString::fromUtf8(config::supportEmail);
}

HelpPage::HelpPage(QList<FAQSection> entries, QString messageStart, QObject* parent)
    : QObject(parent), m_entries(std::move(entries)), m_messageStart(std::move(messageStart))
{
}

QString HelpPage::alertMessage() const
{
    return m_messageStart + supportEmail() +
           tr(". The email address has been copied to your clipboard for your convenience.");
}

void HelpPage::sendMessage()
{
    toggleShowMessageAlert();
    platform().pasteboard->setString(supportEmail());
}

EverythingElseView::EverythingElseView(QObject* parent)
    : HelpPage(
          {
              {QStringLiteral("Will uploaded photos be deleted?"),
               QStringLiteral(
                   "Absolutely. Once your results are ready, your photos are immediately removed "
                   "from our servers. We prioritize your privacy and security, ensuring that your "
                   "photos are not stored any longer than necessary. This is a fundamental part of "
                   "our commitment to delivering a secure and trustworthy service.")},
              {QStringLiteral("I can't save the GIF on my iPhone"),
               QStringLiteral(
                   "If you encounter issues saving your results, it's likely because Tarrowin "
                   "lacks access to your photo gallery. To resolve this, navigate to your iPhone "
                   "settings, find the Tarrowin app in the list, go to Photos, and allow access to "
                   "All Photos.")},
              {QStringLiteral("Still have questions?"),
               QStringLiteral("Feel free to reach out to us via email with details about your "
                              "issue, and we'll be more than happy to assist you in resolving "
                              "it.")},
          },
          tr("Send your feedback via email to "), parent)
{
}

DontLikeResultView::DontLikeResultView(QObject* parent)
    : HelpPage(
          {
              {QStringLiteral("I Don't Like the Results"),
               QStringLiteral("We apologize if the generated results are not to your liking. "
                              "While Tarrowin produces impressive results in most cases, "
                              "occasional inaccuracies and imperfections may occur due to AI "
                              "limitations.")},
              {QStringLiteral("Tips for Satisfying Results"),
               QStringLiteral("To ensure satisfying results, it's crucial to adhere to photo "
                              "upload requirements:\n"
                              "\n"
                              "\u2022 Upload close-up pictures of yourself, avoiding distant "
                              "shots.\n"
                              "\u2022 Use natural, unedited photos with clear facial visibility "
                              "for better results.\n"
                              "\u2022 Avoid photos with sunglasses, obscured faces, distant shots, "
                              "cropped heads, or multiple individuals.")},
              {QStringLiteral("Still Have Questions?"),
               QStringLiteral("Feel free to contact us via email with details about your issue, "
                              "and we'll assist you in resolving it.")},
          },
          tr("Send feedback via email to "), parent)
{
}

QString SettingView::alertMessage() const
{
    return tr("Send feedback by email to ") + supportEmail() +
           tr(" The address is saved on your clipboard.");
}

void SettingView::sendFeedback()
{
    toggleShowMessageAlert();
    platform().pasteboard->setString(supportEmail());
}

void SettingView::rateApp()
{
    vornel::rateApp();
}

QString PopupBottomFailedImagePickView::explanation()
{
    return tr("Please choose an image that clearly shows your face without any obstructions such "
              "as sunglasses, hair, or hands. A clear vornel is preferred for best results.");
}

} // namespace vornel

#include "generation/CompletionNotification.h"

#include "platform/Console.h"

#include <QUuid>

namespace vornel {

NotificationRequest completionNotificationRequest()
{
    NotificationRequest request;
    request.title = QStringLiteral("Image Generated");
    request.body = QStringLiteral(
        "Your profile picture has been successfully generated. Check it out in the app!");
    request.defaultSound = true;
    request.triggerSeconds = 1.0;
    request.repeats = false;
    request.identifier = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    return request;
}

void scheduleCompletionNotification()
{
    platform().notifications->add(
        completionNotificationRequest(), [](const std::optional<QString>& error) {
            if (error)
                consoleLine(QStringLiteral("Error scheduling notification: ") + *error);
        });
}

} // namespace vornel

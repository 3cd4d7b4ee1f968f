#pragma once

#include "platform/PlatformServices.h"

namespace vornel {

// The "Image Generated" notification, one second after it is scheduled,
// with a new identifier each time. A failure prints
// "Error scheduling notification: " + its description.
void scheduleCompletionNotification();

// The request as scheduled (for tests).
NotificationRequest completionNotificationRequest();

} // namespace vornel

#pragma once

#include "platform/UserDefaults.h"

namespace vornel {

// Asks the platform for its rating prompt after three review-worthy actions,
// at most once per build. The state lives in user defaults under
// "reviewWorthyActionCount" and "lastReviewRequestAppVersion".
class ReviewHandler {
public:
    static constexpr qint64 requestThreshold = 3;

    static void recordReviewWorthyAction();
    static void recordReviewWorthyAction(UserDefaults& store);
};

// The store's write-a-review page of the app.
QString reviewPageAddress();
// Opens that page when the system can; otherwise does nothing.
void rateApp();

} // namespace vornel

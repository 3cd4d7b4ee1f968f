#pragma once

#include "platform/Download.h"
#include "platform/UserDefaults.h"

#include <QDateTime>
#include <QUrl>
#include <functional>

namespace vornel {

// The history of shown portraits, under "imageHistory" in user defaults: an
// array of {"imageURL": text, "date": date}, oldest first.
class HistoryManager {
public:
    static HistoryManager& shared();

    // Appends one record. A stored value that is not an array of text-keyed
    // dictionaries is replaced by a list of just this record.
    void addImage(const QUrl& url, const QDateTime& date);
    void addImage(const QUrl& url, const QDateTime& date, UserDefaults& store);
};

// Copies the portrait at url, unchanged, into the photo library as a new
// photo. Returns at once; the download and `then` run on the library's worker
// thread, and `then` runs exactly once whether or not anything was saved.
// Only http and https addresses are fetched, at most 64 MiB in 120 seconds;
// every failure is silent.
void saveToPhotoLibrary(const QUrl& url, std::function<void()> then,
                        DownloadLimits limits = DownloadLimits());

} // namespace vornel

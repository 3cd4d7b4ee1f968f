#include "generation/service/PredictionStatus.h"

namespace vornel {

QString wireText(PredictionStatus status)
{
    switch (status) {
    case PredictionStatus::starting:
        return QStringLiteral("starting");
    case PredictionStatus::processing:
        return QStringLiteral("processing");
    case PredictionStatus::succeeded:
        return QStringLiteral("succeeded");
    case PredictionStatus::failed:
        return QStringLiteral("failed");
    case PredictionStatus::canceled:
        return QStringLiteral("canceled");
    }
    return QString();
}

std::optional<PredictionStatus> predictionStatusFromWire(const QString& text)
{
    for (auto s :
         {PredictionStatus::starting, PredictionStatus::processing, PredictionStatus::succeeded,
          PredictionStatus::failed, PredictionStatus::canceled}) {
        if (wireText(s) == text)
            return s;
    }
    return std::nullopt;
}

bool isTerminal(PredictionStatus status)
{
    return status == PredictionStatus::succeeded || status == PredictionStatus::failed ||
           status == PredictionStatus::canceled;
}

} // namespace vornel

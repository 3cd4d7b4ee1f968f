#pragma once

#include <QString>
#include <optional>

namespace vornel {

enum class PredictionStatus { starting, processing, succeeded, failed, canceled };

// The wire text, equal to the name.
QString wireText(PredictionStatus status);
std::optional<PredictionStatus> predictionStatusFromWire(const QString& text);
// succeeded, failed and canceled end a prediction.
bool isTerminal(PredictionStatus status);

} // namespace vornel

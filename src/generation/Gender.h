#pragma once

#include <QString>
#include <optional>

namespace vornel {

// The template set a portrait is made from.
enum class Gender { man, woman };

inline QString rawValue(Gender g)
{
    return g == Gender::man ? QStringLiteral("man") : QStringLiteral("woman");
}

// Exact, case-sensitive match of a raw value.
inline std::optional<Gender> genderFromRawValue(const QString& text)
{
    if (text == u"man")
        return Gender::man;
    if (text == u"woman")
        return Gender::woman;
    return std::nullopt;
}

// The result screen's reading of the upload screen's choice: the lowercased
// text "woman" is woman, everything else is man.
inline Gender genderFromChoice(const QString& choice)
{
    return genderFromRawValue(choice.toLower()) == Gender::woman ? Gender::woman : Gender::man;
}

} // namespace vornel

#pragma once

// Screen state classes follow one pattern: every sheet, cover, alert and
// popup is one Boolean property; handlers toggle it (never set it), and the
// presenter writes false back through the property's setter when its content
// closes. QML draws the state and calls the handlers; tests call them
// directly, without a window.

#define VORNEL_FLAG(name, Name)                                                                    \
public:                                                                                            \
    bool name() const                                                                              \
    {                                                                                              \
        return m_##name;                                                                           \
    }                                                                                              \
    void set##Name(bool value)                                                                     \
    {                                                                                              \
        if (m_##name == value)                                                                     \
            return;                                                                                \
        m_##name = value;                                                                          \
        emit name##Changed();                                                                      \
    }                                                                                              \
    void toggle##Name()                                                                            \
    {                                                                                              \
        set##Name(!m_##name);                                                                      \
    }                                                                                              \
                                                                                                   \
private:                                                                                           \
    bool m_##name = false;

#include "platform/qt/Shortcuts.h"

#include "platform/qt/Conversions.h"

#include <QStringList>

namespace platform::qt {

QKeySequence ShortcutFor(const std::string& text)
{
    if (text.empty())
        return {};
    QStringList parts = ToQt(text).split(QLatin1Char('+'));
    // "Cmd++" names the plus key: the split leaves two empty parts at the end.
    if (text.size() > 1 && text.back() == '+' && text[text.size() - 2] == '+') {
        while (!parts.isEmpty() && parts.last().isEmpty())
            parts.removeLast();
        parts.append(QStringLiteral("+"));
    }
    for (auto& part : parts) {
        const QString p = part.trimmed();
        if (p.compare(QLatin1String("Cmd"), Qt::CaseInsensitive) == 0
            || p.compare(QLatin1String("Command"), Qt::CaseInsensitive) == 0)
            part = QStringLiteral("Ctrl");
        else if (p.compare(QLatin1String("Option"), Qt::CaseInsensitive) == 0
            || p.compare(QLatin1String("Opt"), Qt::CaseInsensitive) == 0)
            part = QStringLiteral("Alt");
        else
            part = p;
    }
    return QKeySequence::fromString(parts.join(QLatin1Char('+')), QKeySequence::PortableText);
}

} // namespace platform::qt

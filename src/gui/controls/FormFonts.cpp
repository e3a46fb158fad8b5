// The faces of the forms: the narrow face they were drawn for where it is installed, else the
// nearest one that is.
#include "controls/FormFonts.h"

#include "compat/QtWidgetsCompat.h"
#include "platform/Platform.h"

#include <QFont>
#include <QStringList>

namespace form {

namespace {

// The first of the faces that is installed, looked up once: naming missing faces to the
// font system costs a fallback search for every font made from them.
QString installedFamily(const QStringList& wanted)
{
    const QStringList installed = compat::fontFamilies();
    for (const QString& family : wanted) {
        if (installed.contains(family, Qt::CaseInsensitive))
            return family;
    }
    return QString();
}

QFont fontOf(const QString& family, bool bold)
{
    QFont font;
    if (!family.isEmpty())
        font.setFamily(family);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    font.setBold(bold);
    return font;
}

} // namespace

QFont windowFont()
{
    // The forms were drawn for the system's narrow face; the others have close metrics where it is missing.
    static const QString family =
        installedFamily({platform::formFaceFamily(), QStringLiteral("Microsoft Sans Serif"),
                         QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});
    return fontOf(family, false);
}

QFont browseFont()
{
    static const QString family =
        installedFamily({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    return fontOf(family, true);
}

QFont headingFont()
{
    QFont font = windowFont();
    font.setPointSizeF(9.75);
    return font;
}

} // namespace form

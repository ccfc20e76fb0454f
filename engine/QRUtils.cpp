#include "engine/QRUtils.h"

#include <QFontDatabase>
#include <QRegularExpression>

QString QRBandTypeName(TQRBandType type)
{
    static const char* const names[] = {"Title",        "Page Header",  "Detail",     "Page Footer",
                                        "Summary",      "Group Header", "Group Footer", "Sub Detail",
                                        "Column Header", "Overlay",     "Child"};
    return QString::fromLatin1(names[type]);
}

QString UniqueName(const TComponent* owner, const QString& base)
{
    for (int n = 1;; ++n) {
        const QString name = base + QString::number(n);
        if (!owner || !owner->FindComponent(name))
            return name;
    }
}

QStringList GetFonts()
{
    // A family that several foundries make comes once per foundry, as
    // "Family [Foundry]"; a font is chosen by its family name alone.
    static const QRegularExpression foundry(QStringLiteral(" \\[[^\\]]*\\]$"));
    QStringList families;
    for (QString family : QFontDatabase::families()) {
        family.remove(foundry);
        if (!families.contains(family, Qt::CaseInsensitive))
            families << family;
    }
    families.sort(Qt::CaseInsensitive);
    return families;
}

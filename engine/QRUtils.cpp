#include "engine/QRUtils.h"

#include <QFontDatabase>

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
    QStringList families = QFontDatabase::families();
    families.sort(Qt::CaseInsensitive);
    return families;
}

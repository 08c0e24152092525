#include "app/KeyFacts.h"

#include <QRegularExpression>

#include <cmath>

#include "guicommon/Latin1.h"
#include "schema/Descriptor.h"

using morvane::guicommon::ToQt;

namespace morvane::app {
namespace {

std::optional<double> NumberIn(const std::string& field) {
    bool ok = false;
    const double value = ToQt(field).trimmed().toDouble(&ok);
    return ok && std::isfinite(value) ? std::optional(value) : std::nullopt;
}

QString Shown(double value) { return QString::number(value, 'g', 10); }

// The unit the help names ("Sight range, in cells"; "Game minutes between …").
QString UnitInHelp(const std::string& help) {
    static const QRegularExpression cells(QStringLiteral("\\bin cells\\b"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression minutes(QStringLiteral("\\bgame minutes\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QString text = ToQt(help);
    if (text.contains(cells)) return QStringLiteral("cells");
    if (text.contains(minutes)) return QStringLiteral("game minutes");
    return {};
}

QString RangeText(const std::optional<double>& lowest, const std::optional<double>& highest) {
    if (lowest && highest) return QStringLiteral("%1 to %2").arg(Shown(*lowest), Shown(*highest));
    if (lowest) return QStringLiteral("at least %1").arg(Shown(*lowest));
    if (highest) return QStringLiteral("at most %1").arg(Shown(*highest));
    return {};
}

}  // namespace

KeyFacts FactsOf(const Tree& tree, const StringTable& table, TreeItem item) {
    KeyFacts facts;
    if (item == kNoItem || tree.ItemHasChildren(item)) return facts;
    const TreeItemData data = tree.GetItemData(item);
    const auto text = data.infoId == 0 ? std::nullopt : table.Find(data.infoId);
    if (!text) return facts;
    const Descriptor descriptor = ParseDescriptor(*text, table);
    if (!descriptor.hasFields) return facts;
    switch (descriptor.kind) {
        case KeyKind::Integer:
            // The spin's bounds: a missing bound is the spin's own limit.
            facts.icon = art::KindIcon::Number;
            facts.lowest = ReadLowerBound(descriptor.minText);
            facts.highest = ReadUpperBound(descriptor.maxText);
            break;
        case KeyKind::Real:
            facts.icon = art::KindIcon::Number;
            break;  // any real number: no range
        case KeyKind::YesNo:
        case KeyKind::TrueFalse:
            facts.icon = art::KindIcon::YesNo;
            break;
        case KeyKind::Percent:
            facts.icon = art::KindIcon::Percentage;
            facts.lowest = NumberIn(descriptor.minText).value_or(0);
            facts.highest = NumberIn(descriptor.maxText).value_or(100);
            facts.unit = QStringLiteral("%");
            break;
        case KeyKind::Verses:
            facts.icon = art::KindIcon::Armour;
            facts.unit = QStringLiteral("% of full damage");
            break;
        case KeyKind::OneOfList:
        case KeyKind::ManyOfList:
            facts.icon = art::KindIcon::List;
            break;
        case KeyKind::CratePowerup:
            facts.icon = art::KindIcon::Crate;
            break;
        default:
            break;
    }
    facts.range = RangeText(facts.lowest, facts.highest);
    if (facts.unit.isEmpty()) facts.unit = UnitInHelp(descriptor.helpText);
    return facts;
}

}  // namespace morvane::app

#include "app/KeyFacts.h"

#include <QRegularExpression>

#include <cmath>

#include "guicommon/Latin1.h"
#include "schema/Descriptor.h"

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
    const std::string& kind = descriptor.typeLetter;
    if (kind == "I") {
        // The spin's bounds: a missing bound is the spin's own limit.
        facts.icon = art::KindIcon::Number;
        facts.lowest = ReadLowerBound(descriptor.minText);
        facts.highest = ReadUpperBound(descriptor.maxText);
    } else if (kind == "R") {
        facts.icon = art::KindIcon::Number;  // the editor takes any real number: no range
    } else if (kind == "B" || kind == "T") {
        facts.icon = art::KindIcon::YesNo;
    } else if (kind == "P") {
        facts.icon = art::KindIcon::Percentage;
        facts.lowest = NumberIn(descriptor.minText).value_or(0);
        facts.highest = NumberIn(descriptor.maxText).value_or(100);
        facts.unit = QStringLiteral("%");
    } else if (kind == "V") {
        facts.icon = art::KindIcon::Armour;
        facts.unit = QStringLiteral("% of full damage");
    } else if (kind == "L" || kind == "M") {
        facts.icon = art::KindIcon::List;
    } else if (kind == "K") {
        facts.icon = art::KindIcon::Crate;
    }
    facts.range = RangeText(facts.lowest, facts.highest);
    if (facts.unit.isEmpty()) facts.unit = UnitInHelp(descriptor.helpText);
    return facts;
}

}  // namespace morvane::app

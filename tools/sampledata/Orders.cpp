#include "Orders.h"

#include <QDateTime>

#include <array>
#include <cmath>
#include <cstdint>

namespace {

// A small deterministic generator: std distributions differ between
// standard libraries, the tables must not.
class TRandom {
public:
    explicit TRandom(std::uint64_t seed) : state_(seed) {}
    std::uint32_t Next()
    {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::uint32_t>(state_ >> 33);
    }
    int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint32_t>(n)); }
    template <class T, size_t N>
    const T& Pick(const std::array<T, N>& items) { return items[static_cast<size_t>(Below(int(N)))]; }

private:
    std::uint64_t state_;
};

constexpr int kCustomers = 40;
constexpr int kFirstCustNo = 1200;

const std::array<const char*, 20> kFirstNames = {
    "Ilde", "Marten", "Corvina", "Taddeo", "Berit", "Osvaldo", "Nuala", "Fenna", "Quirino", "Hedda",
    "Lorcan", "Sabela", "Ottone", "Mireille", "Anselm", "Rosalba", "Teodor", "Ysolde", "Gaspard", "Livia"};
const std::array<const char*, 20> kLastNames = {
    "Varrow", "Quenby", "Tamsin", "Orrell", "Pellow", "Dunmore", "Fasciano", "Heskett", "Lindqvar", "Morrant",
    "Nettleby", "Ostrander", "Pruitt", "Roskam", "Sallow", "Thirlby", "Ugarte", "Vexley", "Wendholt", "Zanotti"};
const std::array<const char*, 16> kStreets = {
    "Harbour Lane", "Kelp Street", "Coral Row", "Tide Road", "Lagoon Way", "Anchor Walk", "Reef Avenue", "Pier Court",
    "Gull Terrace", "Dune Drive", "Mariner Place", "Breaker Hill", "Saltmarsh Road", "Current Street", "Shoal Lane",
    "Beacon Rise"};
const std::array<const char*, 6> kSuites = {"Suite 100", "Unit 4", "Floor 2", "P.O. Box 77", "Dock 9", "Suite 310"};
struct City {
    const char* Name;
    const char* State;
    const char* Country;
};
const std::array<City, 10> kCities = {{{"Port Calder", "Marren", "Aldovia"},   {"Saltreach", "Marren", "Aldovia"},
                                       {"Vell Harbour", "Ostmark", "Aldovia"}, {"Cobble Bay", "Ostmark", "Aldovia"},
                                       {"Ferrowick", "Isles", "Quenland"},     {"Lantern Key", "Isles", "Quenland"},
                                       {"Brinmouth", "Coast", "Quenland"},     {"Tidewell", "Coast", "Quenland"},
                                       {"Gullhaven", "North", "Serrat"},       {"Marisol", "South", "Serrat"}}};
const std::array<const char*, 8> kCompanyWords = {"Reef", "Tide", "Kelp", "Coral", "Anchor", "Gull", "Shoal", "Lagoon"};
const std::array<const char*, 6> kCompanyKinds = {"Divers", "Outfitters", "Supply", "Traders", "Sports", "Marine"};
const std::array<const char*, 4> kShipVia = {"Ferry", "Courier", "Air", "Truck"};
const std::array<const char*, 3> kTerms = {"Net 30", "Net 15", "FOB"};
const std::array<const char*, 4> kPayment = {"Credit", "Check", "Cash", "Invoice"};

QString Contact(TRandom& r)
{
    return QString::fromLatin1(r.Pick(kFirstNames)) + u' ' + QString::fromLatin1(r.Pick(kLastNames));
}

TFieldDef Def(const char* name, TFieldType type, int size = 0) { return {QString::fromLatin1(name), type, size, 0}; }

}  // namespace

TTableData MakeCustomers()
{
    TTableData t;
    t.Defs = {Def("CustNo", ftFloat), Def("Company", ftString, 30), Def("Addr1", ftString, 30),
              Def("City", ftString, 15), Def("State", ftString, 20), Def("Country", ftString, 20),
              Def("Contact", ftString, 20)};
    TRandom r(7);
    for (int i = 0; i < kCustomers; ++i) {
        const City& city = r.Pick(kCities);
        const QString company = QString::fromLatin1(kCompanyWords[size_t(i % 8)]) + u' ' +
                                QString::fromLatin1(kCompanyKinds[size_t((i / 8 + i) % 6)]) +
                                (i >= 8 ? QStringLiteral(" %1").arg(QChar(u'A' + i / 8)) : QString());
        t.Rows.push_back({double(kFirstCustNo + i * 10), company,
                          QStringLiteral("%1 %2").arg(10 + r.Below(900)).arg(QString::fromLatin1(r.Pick(kStreets))),
                          QString::fromLatin1(city.Name), QString::fromLatin1(city.State),
                          QString::fromLatin1(city.Country), Contact(r)});
    }
    return t;
}

TTableData MakeOrders(int count)
{
    TTableData t;
    t.Defs = {Def("OrderNo", ftFloat), Def("CustNo", ftFloat), Def("SaleDate", ftDateTime), Def("ShipDate", ftDateTime),
              Def("EmpNo", ftInteger), Def("ShipToContact", ftString, 20), Def("ShipToAddr1", ftString, 30),
              Def("ShipToAddr2", ftString, 30), Def("ShipToCity", ftString, 15), Def("ShipToState", ftString, 20),
              Def("ShipToCountry", ftString, 20), Def("ShipVIA", ftString, 7), Def("Terms", ftString, 6),
              Def("PaymentMethod", ftString, 7), Def("ItemsTotal", ftCurrency), Def("TaxRate", ftFloat),
              Def("Freight", ftCurrency), Def("AmountPaid", ftCurrency)};
    TRandom r(1987);
    QDateTime sale(QDate(1994, 3, 2), QTime(9, 0));
    t.Rows.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        sale = sale.addSecs(3600 * (2 + r.Below(40)));
        const QDateTime ship = sale.addDays(1 + r.Below(12)).addSecs(60 * r.Below(600));
        const City& city = r.Pick(kCities);
        const double items = (500 + r.Below(2000000)) / 100.0;
        const double tax = r.Below(3) == 0 ? 0.0 : 5.0 + r.Below(4) * 0.5;
        const double freight = (r.Below(9000)) / 100.0;
        const double total = items * (1 + tax / 100) + freight;
        const double paid = r.Below(4) == 0 ? 0.0 : std::round(total * 100) / 100;
        // orders are dated by the day
        t.Rows.push_back({double(1001 + i), double(kFirstCustNo + 10 * r.Below(kCustomers)), QDateTime(sale.date(), QTime(0, 0)),
                          QDateTime(ship.date(), QTime(0, 0)),
                          qint64(1 + r.Below(60) * 3), Contact(r),
                          QStringLiteral("%1 %2").arg(1 + r.Below(999)).arg(QString::fromLatin1(r.Pick(kStreets))),
                          r.Below(3) == 0 ? QVariant(QString::fromLatin1(r.Pick(kSuites))) : QVariant(),
                          QString::fromLatin1(city.Name), QString::fromLatin1(city.State), QString::fromLatin1(city.Country),
                          QString::fromLatin1(r.Pick(kShipVia)), QString::fromLatin1(r.Pick(kTerms)),
                          QString::fromLatin1(r.Pick(kPayment)), items, tax, freight, paid});
    }
    return t;
}

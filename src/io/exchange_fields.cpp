#include "io/exchange_fields.h"

#include <stdexcept>

#include "data/tables.h"
#include "runtime/fixed_text.h"

namespace plorix::io {

namespace {

// The import targets: the export list with the owner field put in at
// `userAt` (-1: the table has no owner field to import).
std::vector<ExchangeField> withUser(const std::vector<ExchangeField>& exported, ExchangeField user,
                                    int userAt) {
    std::vector<ExchangeField> out = exported;
    if (userAt >= 0) out.insert(out.begin() + userAt, user);
    return out;
}

ExchangeTableDef makeDef(ExchangeTable table, std::string_view label, const store::TableSchema& (*schema)(),
                         int key, std::vector<ExchangeField> fields, ExchangeField user, int userAt) {
    auto targets = withUser(fields, user, userAt);
    return {table, label, schema, key, std::move(fields), std::move(targets)};
}

const std::vector<ExchangeTableDef>& definitions() {
    static const std::vector<ExchangeTableDef> defs = {
        makeDef(ExchangeTable::Schedule, "Schedule", &data::Schedule::schema,
                data::keys::Schedule::KEYCATEGORYDATE,
                {
                    {"SCH:TaskType", "@s20"},
                    {"SCH:Category", "@s20"},
                    {"SCH:Description", "@s40"},
                    {"SCH:Command", "@s255"},
                    {"SCH:Path", "@s255"},
                    {"SCH:ScheduleType", "@s20"},
                    {"SCH:Sunday", "@n3"},
                    {"SCH:Monday", "@n3"},
                    {"SCH:Tuesday", "@n3"},
                    {"SCH:Wednesday", "@n3"},
                    {"SCH:Thursday", "@n3"},
                    {"SCH:Friday", "@n3"},
                    {"SCH:Saturday", "@n3"},
                    {"SCH:Every", "@n6"},
                    {"SCH:Every1st", "@n3"},
                    {"SCH:Every2nd", "@n3"},
                    {"SCH:Every3rd", "@n3"},
                    {"SCH:Every4th", "@n3"},
                    {"SCH:EveryLast", "@n3"},
                    {"SCH:LastDayofMonth", "@n3"},
                    {"SCH:BiMonthly", "@n3"},
                    {"SCH:EveryType", "@s20"},
                    {"SCH:Date", "@d6b", "@d6"},
                    {"SCH:Time", "@t3b", "@t3"},
                    {"SCH:LastRunDate", "@d6b", "@d6"},
                    {"SCH:LastRunTime", "@t3b", "@t3"},
                    {"SCH:SkipNextTime", "@n3"},
                    {"SCH:Alarm", "@n3"},
                    {"SCH:AlarmFile", "@s254"},
                    {"SCH:AdvanceWarnDate", "@d6b", "@d6"},
                    {"SCH:AdvanceWarnTime", "@t3b", "@t3"},
                    {"SCH:AdvanceWarned", "@n3"},
                    {"SCH:Warn", "@n3"},
                    {"SCH:SkipIfMissed", "@n3"},
                    {"SCH:NoHistory", "@n3"},
                    {"SCH:UserSkip", "@n3"},
                    {"SCH:Disabled", "@n3"},
                    {"SCH:Skipped", "@n3"},
                    {"SCH:ShiftType", "@s20"},
                    {"SCH:ExceptWeekends", "@n3"},
                    {"SCH:ExceptWeekdays", "@n3"},
                    {"SCH:ExceptHolidays", "@n3"},
                    {"SCH:ExceptTime", "@n3"},
                    {"SCH:ExceptTimeBegin", "@t3", "@t3"},
                    {"SCH:ExceptTimeEnd", "@t3", "@t3"},
                    {"SCH:ExceptionLink", "@n-13"},
                },
                {"SCH:User", "@s40"}, 0),
        makeDef(ExchangeTable::Todo, "Todo", &data::Todo::schema, data::keys::Todo::KEYCATEGORY,
                {
                    {"TDO:Done", "@n1"},
                    {"TDO:Priority", "@n2"},
                    {"TDO:Category", "@s20"},
                    {"TDO:ToDo", "@s80"},
                    {"TDO:CompletionDate", "@d3"},
                    {"TDO:CompletionTime", "@t3"},
                    {"TDO:Notes", "@s255"},
                    {"TDO:Resolution", "@s255"},
                },
                {}, -1),
        makeDef(ExchangeTable::Contact, "Contact", &data::Contact::schema, data::keys::Contact::KEYCLIENTID,
                {
                    {"C_:Notes", "@s255"},
                    {"C_:LastName", "@s30"},
                    {"C_:FirstName", "@s20"},
                    {"C_:AddressLine1", "@s30"},
                    {"C_:AddressLine2", "@s30"},
                    {"C_:AddressLine3", "@s30"},
                    {"C_:PostalCode", "@s10"},
                    {"C_:WorkDayPhone", "@s20"},
                    {"C_:HomeEveningPhone", "@s20"},
                    {"C_:Fax", "@s20"},
                    {"C_:OtherPhone", "@s20"},
                    {"C_:Email", "@s40"},
                    {"C_:WebSite", "@s60"},
                    {"C_:ContactCategory", "@s20"},
                },
                {"C_:User", "@s40"}, 1),
    };
    return defs;
}

}  // namespace

const ExchangeTableDef& exchangeTable(ExchangeTable table) {
    for (const auto& def : definitions())
        if (def.table == table) return def;
    throw std::logic_error("no exchange table");
}

const ExchangeTableDef* exchangeTableByLabel(std::string_view label) {
    for (const auto& def : definitions())
        if (equalNoCase(def.label, label)) return &def;
    return nullptr;
}

bool pictureAccepted(std::string_view picture) { return !picture.empty() && picture.front() == '@'; }

const store::FieldDesc& schemaField(const ExchangeTableDef& def, const ExchangeField& field) {
    const auto& schema = def.schema();
    const int index = schema.fieldIndex(field.name);
    if (index < 0) throw std::logic_error("no field " + std::string(field.name));
    return schema.fields[static_cast<std::size_t>(index)];
}

int findExchangeField(const std::vector<ExchangeField>& list, std::string_view name) {
    const std::string wanted = trim(name);
    for (std::size_t i = 0; i < list.size(); ++i)
        if (equalNoCase(list[i].name, wanted)) return static_cast<int>(i);
    return -1;
}

}  // namespace plorix::io

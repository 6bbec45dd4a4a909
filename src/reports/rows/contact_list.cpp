// "Report the Contact File": every contact with addresses and numbers, by
// last name.

#include "data/tables.h"
#include "reports/rows/report_defs.h"

namespace plorix::reports {

namespace {

Band contactBand(const void* record) {
    const auto& c = *static_cast<const data::Contact*>(record);
    return {BandKind::Block,
            {},
            {{"Last Name", c.LASTNAME.str()},
             {"First Name", c.FIRSTNAME.str()},
             {"Address Line 1", c.ADDRESSLINE1.str()},
             {"Address Line 2", c.ADDRESSLINE2.str()},
             {"Address Line 3", c.ADDRESSLINE3.str()},
             {"Postal Code", c.POSTALCODE.str()},
             {"Work/Day Phone", c.WORKDAYPHONE.str()},
             {"Home/Evening Phone", c.HOMEEVENINGPHONE.str()},
             {"Fax", c.FAX.str()},
             {"Other Phone", c.OTHERPHONE.str()},
             {"Email", c.EMAIL.str()},
             {"Web Site", c.WEBSITE.str()},
             {"Contact Category", c.CONTACTCATEGORY.str()}}};
}

}  // namespace

const ReportDef& contactsReport() {
    static const ReportDef def{ReportId::Contacts,
                               "Report the Contact File",
                               PreviewKind::Library,
                               &data::Contact::schema,
                               data::keys::Contact::KEYLASTNAME,
                               {},
                               {},
                               &contactBand};
    return def;
}

}  // namespace plorix::reports

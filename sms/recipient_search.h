#pragma once

#include "members/member_search.h"
#include "members/saved_search.h"
#include "sms/recipient_line.h"

// The send window's member search: the criteria of the member window, over
// the name, salutation, mobile number, selection mark, opt-out mark and the
// message fields' columns of enabled members.
namespace sms {

// The statement's first line.
QString recipientColumnsLine();

// The lines and parameters of the search. stored holds the smallest and
// largest member number, the range of the number criterion where the user
// left a bound empty. The birthday criterion throws ConversionError when a
// year, month or day is not a whole number.
members::search::Statement recipientStatement(const members::search::Input& input,
                                              const members::search::Bounds& stored);

// The same for a criterion's line already made (a saved search's).
members::search::Statement recipientStatement(const members::search::Clause& clause);

// The recipients a saved search finds among enabled members, in its order:
// name and salutation with the mobile number, as the send window adds
// members. Members without a number a gateway can take are counted, not
// listed; a handset listed already is not listed again.
struct SearchRecipients {
    QList<Recipient> recipients;
    int withoutMobile = 0;
};
SearchRecipients savedSearchRecipients(const members::saved::SavedSearch& search);

} // namespace sms

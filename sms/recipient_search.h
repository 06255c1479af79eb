#pragma once

#include "members/member_search.h"

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

} // namespace sms

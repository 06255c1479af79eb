// The printed member list reader on any bytes: every unit is cut into its
// values and every birthday read; a birthday that is not a date may only be
// refused with a ConversionError.
#include "base/errors.h"
#include "members/import/member_list.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const members::ListedMember& member : members::readMemberList(bytes)) {
        if (member.birthday == members::kNoBirthday)
            continue;
        try {
            members::listedBirthday(member.birthday);
        } catch (const ConversionError&) {
        }
    }
    return 0;
}

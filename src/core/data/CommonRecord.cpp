// Reading and writing the common record.
#include "data/CommonRecord.h"

#include "data/UserRecord.h"

namespace kalvintor::data {

namespace r = records;
using namespace common_offsets;

std::optional<CommonRecord> decodeCommonRecord(r::Bytes b) {
    if (b.size() < kCommonRecordSize) return std::nullopt;
    CommonRecord c;
    c.useSystemLogin = r::getBool(b, kUseSystemLogin);
    c.allowNewUsers = r::getBool(b, kAllowNewUsers);
    c.allowGuestLogin = r::getBool(b, kAllowGuestLogin);
    c.reserved = r::getU8(b, kReserved);
    c.nextClassId = r::getI16(b, kNextClassId);
    c.nextUserId = r::getI16(b, kNextUserId);
    c.commonDirectory = r::getShortString(b, kCommonDirectory, kFileNameRoom);
    return c;
}

CommonBytes encodeCommonRecord(const CommonRecord& c) {
    CommonBytes bytes{};
    r::MutableBytes b(bytes);
    r::putBool(b, kUseSystemLogin, c.useSystemLogin);
    r::putBool(b, kAllowNewUsers, c.allowNewUsers);
    r::putBool(b, kAllowGuestLogin, c.allowGuestLogin);
    r::putU8(b, kReserved, c.reserved);
    r::putI16(b, kNextClassId, c.nextClassId);
    r::putI16(b, kNextUserId, c.nextUserId);
    r::putShortString(b, kCommonDirectory, kFileNameRoom, c.commonDirectory);
    return bytes;
}

}  // namespace kalvintor::data

// Reading and writing the class record.
#include "data/ClassRecord.h"

#include "data/UserRecord.h"

namespace kalvintor::data {

namespace r = records;
using namespace class_offsets;

std::optional<ClassRecord> decodeClassRecord(r::Bytes b) {
    if (b.size() < kClassRecordSize) return std::nullopt;
    ClassRecord c;
    c.className = r::getShortString(b, kClassName, kClassNameRoom);
    c.classId = r::getI16(b, kClassId);
    c.teacherId = r::getI16(b, kTeacherId);
    c.tutorFile = r::getShortString(b, kTutorFile, kFileNameRoom);
    return c;
}

ClassBytes encodeClassRecord(const ClassRecord& c) {
    ClassBytes bytes{};
    r::MutableBytes b(bytes);
    r::putShortString(b, kClassName, kClassNameRoom, c.className);
    r::putI16(b, kClassId, c.classId);
    r::putI16(b, kTeacherId, c.teacherId);
    r::putShortString(b, kTutorFile, kFileNameRoom, c.tutorFile);
    return bytes;
}

}  // namespace kalvintor::data

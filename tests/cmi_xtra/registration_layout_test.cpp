// What the Director host, a 32-bit program, reads at fixed places of the Xtra's objects: the
// instance sizes it allocates and the fields after its 28-byte header. 32-bit layout only.
#include <gtest/gtest.h>

#include <cstring>

#include "registration_fixture.h"

namespace {

using registration_fixture::IdText;
using registration_fixture::Registration;

constexpr moa::MoaId zeroId = {};

TEST_F(Registration, ClassFormAnswersForTheTwoClassesOnly) {
  struct Case {
    moa::MoaId classId;
    moa::MoaError status;
    std::int32_t size;  // -7: left as it was
  };
  const Case cases[] = {
      {moa::registrationClassId, moa::errNone, 28},
      {moa::scriptingClassId, moa::errNone, 36},
      {moa::registrationInterfaceId, moa::errNoClass, -7},
      {moa::valueInterfaceId, moa::errNoClass, -7},
      {zeroId, moa::errNoClass, -7},
  };
  for (size_t row = 0; row < std::size(cases); ++row) {
    const Case& c = cases[row];
    SCOPED_TRACE("row " + std::to_string(row) + " class " + IdText(c.classId));
    std::int32_t size = -7;
    auto untouchedCreate = reinterpret_cast<moa::InstanceCreate>(0x1234);
    auto untouchedDestroy = reinterpret_cast<moa::InstanceDestroy>(0x5678);
    moa::InstanceCreate create = untouchedCreate;
    moa::InstanceDestroy destroy = untouchedDestroy;
    EXPECT_EQ(host.getClassForm(&c.classId, &size, &create, &destroy), c.status);
    EXPECT_EQ(size, c.size);
    if (c.status == moa::errNone) {
      EXPECT_NE(create, untouchedCreate);
      EXPECT_NE(create, nullptr);
      EXPECT_NE(destroy, nullptr);
    } else {
      EXPECT_EQ(create, untouchedCreate);
      EXPECT_EQ(destroy, untouchedDestroy);
    }
  }
}

TEST_F(Registration, ScriptingInstanceKeepsWhatTheHostGives) {
  struct Case {
    bool offerValues;
    bool offerSecond;
  };
  const Case cases[] = {{true, true}, {false, true}, {true, false}, {false, false}};
  for (size_t row = 0; row < std::size(cases); ++row) {
    SCOPED_TRACE("row " + std::to_string(row));
    host.callback.offerValues = cases[row].offerValues;
    host.callback.offerSecond = cases[row].offerSecond;
    moa::ObjectHeader* instance = host.CreateInstance(moa::scriptingClassId);
    ASSERT_NE(instance, nullptr);
    // The two fields after the host's 28-byte header.
    void* fields[2];
    std::memcpy(fields, reinterpret_cast<const std::uint8_t*>(instance) + 28, sizeof fields);
    EXPECT_EQ(fields[0], cases[row].offerValues ? static_cast<void*>(host.values.Interface()) : nullptr);
    EXPECT_EQ(fields[1], cases[row].offerSecond ? static_cast<void*>(host.second.Interface()) : nullptr);
    EXPECT_EQ(host.values.references, cases[row].offerValues ? 1 : 0);
    EXPECT_EQ(host.second.references, cases[row].offerSecond ? 1 : 0);
    host.Release(instance);
    EXPECT_EQ(host.values.references, 0);
    EXPECT_EQ(host.second.references, 0);
  }
}

}  // namespace

// The Xtra as the Director host first meets it: the class list, the class forms, interface
// lookup, Register, and the reference counts that decide when the library may go.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "registration_fixture.h"

namespace {

using director_host::DirectorHost;
using director_host::LingoObject;
using registration_fixture::IdText;
using registration_fixture::Registration;

constexpr moa::MoaId zeroId = {};

TEST_F(Registration, IdsAreStoredInTheStandardGuidLayout) {
  const std::uint8_t expected[16] = {0x04, 0xE0, 0x60, 0x89, 0x2D, 0x36, 0xD0, 0x11,
                                     0x8D, 0xCF, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00};
  EXPECT_EQ(std::memcmp(&moa::scriptingClassId, expected, 16), 0);
  EXPECT_EQ(IdText(moa::scriptingClassId), "8960E004-362D-11D0-8DCF-444553540000");
}

TEST_F(Registration, ClassInfoListsBothClassesAndTheirInterfaces) {
  host.allocator.requests.clear();
  moa::ClassInfoEntry* list = nullptr;
  ASSERT_EQ(host.getClassInfo(host.allocator.Interface(), &list), moa::errNone);
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(host.allocator.requests, std::vector<std::uint32_t>{200});

  struct Row {
    moa::MoaId classId;
    moa::MoaId interfaceId;
  };
  const Row rows[] = {
      {moa::registrationClassId, moa::unknownInterfaceId},
      {moa::registrationClassId, moa::registrationInterfaceId},
      {moa::scriptingClassId, moa::unknownInterfaceId},
      {moa::scriptingClassId, moa::scriptingInterfaceId},
      {zeroId, zeroId},  // the end of the list
  };
  for (size_t row = 0; row < std::size(rows); ++row) {
    SCOPED_TRACE("entry " + std::to_string(row));
    EXPECT_EQ(IdText(list[row].classId), IdText(rows[row].classId));
    EXPECT_EQ(IdText(list[row].interfaceId), IdText(rows[row].interfaceId));
    if (row < 4) {
      EXPECT_EQ(list[row].classVersion, 1u);
      EXPECT_EQ(list[row].interfaceVersion, 1u);
    }
  }
  // The host owns the list.
  host.allocator.Interface()->methods->Free(host.allocator.Interface(), list);
}

TEST_F(Registration, ClassInfoReportsAFailedAllocation) {
  moa::ClassInfoEntry* list = reinterpret_cast<moa::ClassInfoEntry*>(&list);
  host.allocator.failNext = true;
  EXPECT_EQ(host.getClassInfo(host.allocator.Interface(), &list), moa::errOutOfMemory);
  EXPECT_EQ(list, nullptr);
}

TEST_F(Registration, ClassObjectIsNotSupported) {
  void* out = nullptr;
  EXPECT_EQ(host.getClassObject(&moa::scriptingClassId, &moa::scriptingInterfaceId, &out), moa::errNoClass);
  EXPECT_EQ(host.getClassObject(nullptr, nullptr, nullptr), moa::errNoClass);
}

TEST_F(Registration, InterfaceLookupMatchesClassAndInterface) {
  struct Case {
    moa::MoaId instanceClass;  // the class the host makes the instance of
    moa::MoaId askedClass;
    moa::MoaId interfaceId;
    moa::MoaError status;
  };
  const Case cases[] = {
      {moa::registrationClassId, moa::registrationClassId, moa::registrationInterfaceId, moa::errNone},
      {moa::scriptingClassId, moa::scriptingClassId, moa::scriptingInterfaceId, moa::errNone},
      {moa::registrationClassId, moa::registrationClassId, moa::scriptingInterfaceId, moa::errNoInterface},
      {moa::scriptingClassId, moa::scriptingClassId, moa::registrationInterfaceId, moa::errNoInterface},
      {moa::scriptingClassId, moa::scriptingClassId, moa::unknownInterfaceId, moa::errNoInterface},
      // 5
      {moa::scriptingClassId, moa::valueInterfaceId, moa::scriptingInterfaceId, moa::errNoInterface},
      {moa::registrationClassId, zeroId, moa::registrationInterfaceId, moa::errNoInterface},
  };
  for (size_t row = 0; row < std::size(cases); ++row) {
    const Case& c = cases[row];
    SCOPED_TRACE("row " + std::to_string(row));
    moa::ObjectHeader* instance = host.CreateInstance(c.instanceClass);
    ASSERT_NE(instance, nullptr);
    void* out = nullptr;
    EXPECT_EQ(host.getInterface(instance, &c.askedClass, &c.interfaceId, &out), c.status);
    if (c.status == moa::errNone) {
      ASSERT_NE(out, nullptr);
      EXPECT_EQ(host.canUnloadNow(), moa::errStillInUse);
      auto* u = static_cast<moa::Unknown*>(out);
      EXPECT_EQ(u->methods->Release(u), 0u);
    } else {
      EXPECT_EQ(out, nullptr);
    }
    EXPECT_EQ(host.canUnloadNow(), moa::errNone);
    EXPECT_EQ(host.References(instance), 1);
    host.Release(instance);
    EXPECT_EQ(host.References(instance), -1);
  }
}

TEST_F(Registration, InterfaceReferencesBalanceOnTheOwner) {
  moa::ObjectHeader* instance = host.CreateInstance(moa::scriptingClassId);
  ASSERT_NE(instance, nullptr);
  ASSERT_EQ(host.References(instance), 1);
  void* out = nullptr;
  ASSERT_EQ(host.getInterface(instance, &moa::scriptingClassId, &moa::scriptingInterfaceId, &out),
            moa::errNone);
  auto* scripting = static_cast<moa::ScriptingInterface*>(out);
  ASSERT_TRUE(host.allocator.IsLive(scripting));
  // One reference for the interface's lifetime, one for its first reference.
  EXPECT_EQ(host.References(instance), 3);
  EXPECT_EQ(host.canUnloadNow(), moa::errStillInUse);

  EXPECT_EQ(scripting->methods->AddRef(scripting), 2u);
  EXPECT_EQ(scripting->methods->AddRef(scripting), 3u);
  EXPECT_EQ(host.References(instance), 5);
  EXPECT_EQ(scripting->methods->Release(scripting), 2u);
  EXPECT_EQ(scripting->methods->Release(scripting), 1u);
  EXPECT_EQ(host.References(instance), 3);
  EXPECT_EQ(host.canUnloadNow(), moa::errStillInUse);
  EXPECT_EQ(scripting->methods->Release(scripting), 0u);
  EXPECT_FALSE(host.allocator.IsLive(scripting));
  EXPECT_EQ(host.References(instance), 1);
  EXPECT_EQ(host.canUnloadNow(), moa::errNone);

  host.Release(instance);
  EXPECT_EQ(host.References(instance), -1);
  EXPECT_EQ(host.values.references, 0) << "the instance's value interface was not released";
  EXPECT_EQ(host.second.references, 0) << "the instance's second host interface was not released";
  EXPECT_EQ(host.allocator.Live(), 0);
}

TEST_F(Registration, InterfaceQueriesGoThroughTheOwner) {
  moa::ObjectHeader* instance = host.CreateInstance(moa::registrationClassId);
  ASSERT_NE(instance, nullptr);
  void* first = nullptr;
  ASSERT_EQ(host.getInterface(instance, &moa::registrationClassId, &moa::registrationInterfaceId, &first),
            moa::errNone);
  auto* registration = static_cast<moa::RegistrationInterface*>(first);
  void* second = nullptr;
  EXPECT_EQ(registration->methods->QueryInterface(registration, &moa::registrationInterfaceId, &second),
            moa::errNone);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(second, first);
  EXPECT_EQ(host.References(instance), 5);
  void* none = &none;
  EXPECT_EQ(registration->methods->QueryInterface(registration, &moa::scriptingInterfaceId, &none),
            moa::errNoInterface);
  auto* other = static_cast<moa::RegistrationInterface*>(second);
  other->methods->Release(other);
  registration->methods->Release(registration);
  EXPECT_EQ(host.References(instance), 1);
  host.Release(instance);
}

TEST_F(Registration, AFailedInterfaceAllocationLeavesNothingBehind) {
  moa::ObjectHeader* instance = host.CreateInstance(moa::scriptingClassId);
  ASSERT_NE(instance, nullptr);
  host.allocator.failNext = true;
  void* out = nullptr;
  EXPECT_EQ(host.getInterface(instance, &moa::scriptingClassId, &moa::scriptingInterfaceId, &out),
            moa::errOutOfMemory);
  EXPECT_EQ(host.References(instance), 1);
  EXPECT_EQ(host.canUnloadNow(), moa::errNone);
  host.Release(instance);
}

TEST_F(Registration, RegisterStoresTheMessageTableByteForByte) {
  ASSERT_EQ(host.Register(), moa::errNone);
  ASSERT_EQ(host.cache.entries.size(), 1u);
  EXPECT_EQ(host.cache.entries[0].xtraDictionary, host.xtraDictionary.Interface());
  EXPECT_EQ(IdText(host.cache.entries[0].classId), IdText(moa::scriptingClassId));
  EXPECT_EQ(IdText(host.cache.entries[0].interfaceId), IdText(moa::scriptingInterfaceId));
  ASSERT_EQ(host.cache.registry.entries.size(), 1u);
  const auto& entry = host.cache.registry.entries[0];
  EXPECT_EQ(entry.type, moa::dictTypeText);
  EXPECT_EQ(entry.key, "msgTable");

  std::ifstream in(LMINT_FIXTURES "/msg_table.txt", std::ios::binary);
  ASSERT_TRUE(in) << LMINT_FIXTURES "/msg_table.txt";
  const std::string fixture((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(entry.data, fixture);
  EXPECT_TRUE(host.xtraDictionary.entries.empty());
  EXPECT_EQ(host.SelectorOf("LMGetUserID"), 1);
  EXPECT_EQ(host.SelectorOf("LMSetCustomField"), 49);
}

TEST_F(Registration, RegisterHandsBackTheHostsFailures) {
  struct Case {
    moa::MoaError cacheAnswer;
    moa::MoaError dictionaryAnswer;
    moa::MoaError expected;
    size_t puts;
  };
  const Case cases[] = {
      {static_cast<moa::MoaError>(0x80040101u), moa::errNone, static_cast<moa::MoaError>(0x80040101u), 0},
      {moa::errNone, static_cast<moa::MoaError>(0x80040202u), static_cast<moa::MoaError>(0x80040202u), 1},
  };
  for (size_t row = 0; row < std::size(cases); ++row) {
    SCOPED_TRACE("row " + std::to_string(row));
    DirectorHost fresh;
    fresh.cache.answer = cases[row].cacheAnswer;
    fresh.cache.registry.answer = cases[row].dictionaryAnswer;
    EXPECT_EQ(fresh.Register(), cases[row].expected);
    EXPECT_EQ(fresh.cache.registry.entries.size(), cases[row].puts);
    EXPECT_EQ(fresh.canUnloadNow(), moa::errNone);
  }
}

TEST_F(Registration, CanUnloadFollowsEveryLiveInterface) {
  EXPECT_EQ(host.canUnloadNow(), moa::errNone);
  {
    LingoObject a(host);
    ASSERT_TRUE(a.Ready());
    EXPECT_EQ(host.canUnloadNow(), moa::errStillInUse);
    {
      LingoObject b(host);
      ASSERT_TRUE(b.Ready());
      EXPECT_EQ(host.canUnloadNow(), moa::errStillInUse);
    }
    EXPECT_EQ(host.canUnloadNow(), moa::errStillInUse);
  }
  EXPECT_EQ(host.canUnloadNow(), moa::errNone);
  EXPECT_EQ(host.allocator.Live(), 0);
}

}  // namespace

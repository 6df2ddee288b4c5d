#include "system_services/host/export_table.h"

namespace rxsystem {
namespace {

// Index order: alphabetical without regard to case, except for SysIsWindowMinimized before
// SysIsWindowMaximized, SysMinimizeWindow before SysMaximizeWindow and SysSetCursorPos
// before SysSetCurDrive: the host's list has them so, and a row's index is its number there.
// Every row takes the host record, the three shell-folder queries too: the host pushes it
// for each "A", and a function that did not pop it would leave the host's stack unbalanced.
// A \t or \r inside a description line is a backslash and a letter, shown to the author as such.
// clang-format off
constexpr ExportRow kExports[] = {
    // 0
    {"SysAppFind", 'S', "AS",
     "AppFileName:= SysAppFind( FileName )"},
    {"SysAppOpen", 'I', "AS",
     "SysAppOpen( FileName )"},
    {"SysAppPrint", 'I', "AS",
     "SysAppPrint( FileName )"},
    {"SysAssociateFileType", 'I', "ASSSSISSS",
     "SysAssociateFileType( ClassName, ClassDescription, FileExtension, IconFileName, IconNumber, FileName, OpenParams, PrintParams )"},
    {"SysCheckMenuItem", 'I', "ALIII",
     "SysCheckMenuItem( WindowID, DropDownPos, ItemPos, Enable )"},
    // 5
    {"SysClipboardToText", 'S', "A",
     "Text:= SysClipboardToText( )"},
    {"SysCloseHelp", 'V', "AS",
     "SysCloseHelp( FileName )"},
    {"SysCloseWindow", 'I', "AL",
     "SysCloseWindow( WindowID )"},
    {"SysCopyFile", 'I', "ASS",
     "SysCopyFile( SourceFileName, DestFileName )"},
    {"SysCopyFileList", 'I', "ASI",
     "SysCopyFileList( FileNameList, Overwrite )"
     "\r\nFileNameList: Source File Path\\tDest File Path\\r..."},
    // 10
    {"SysCopyFiles", 'I', "ASSSII",
     "SysCopyFiles( FileSpec, DestDir, FileType, CopyDirs, Overwrite )"},
    {"SysCreateDir", 'I', "AS",
     "SysCreateDir( DirectoryName )"},
    {"SysCreateIcons", 'I', "ASS",
     "SysCreateIcons( GroupName, IconSpecs )"
     "\r\nIconSpecs: Description\\tExe Path\\tArgs\\tStartDir\\tIconPath\\r..."},
    {"SysDeleteFile", 'I', "AS",
     "SysDeleteFile( FileName )"},
    {"SysDeleteFileList", 'I', "AS",
     "SysDeleteFileList( FileList )"},
    // 15
    {"SysDeleteFiles", 'I', "ASSI",
     "SysDeleteFiles( FileSpec, FileType, TraverseDirs )"},
    {"SysDisableErrors", 'V', "AI",
     "SysDisableErrors( Disable )"},
    {"SysEmptyClipboard", 'V', "A",
     "SysEmptyClipboard( )"},
    {"SysEnableMenuItem", 'I', "ALIII",
     "SysEnableMenuItem( WindowID, DropDownPos, ItemPos, Enable )"},
    {"SysEnableScreenSaver", 'I', "AI",
     "SysEnableScreenSaver( Enable )"},
    // 20
    {"SysErrorMessage", 'I', "AIISS",
     "SysErrorMessage( ButtonType, DefaultButton, Title, Message )"
     "\r\nButtonType: 0 = OK, 1 = OK/Cancel, 2 = Yes/No, 3 = Yes/No/Cancel, 4 = Retry/Cancel"},
    {"SysFileExists", 'I', "AS",
     "SysFileExists( FileName )"},
    {"SysFindFiles", 'S', "ASSIIISSII",
     "SysFindFiles( FileSpec, FileType, SearchDirs, SearchAll, FindFirstOnly, MinDate, MaxDate, MinNumDays, MaxNumDays )"},
    {"SysFindWindow", 'L', "ASS",
     "WindowID:= SysFindWindow( ClassName, Title )"},
    {"SysGetActiveWindow", 'L', "A",
     "WindowID:= SysGetActiveWindow( )"},
    // 25
    {"SysGetAvailScreenRes", 'S', "AI",
     "Res:= SysGetAvailScreenRes( AllColorDepths )"},
    {"SysGetCDDrive", 'S', "A",
     "Drive:= SysGetCDDrive( )"},
    {"SysGetCurDir", 'S', "A",
     "DirName:= SysGetCurDir( )"},
    {"SysGetCurDrive", 'S', "A",
     "Drive:= SysGetCurDrive( )"},
    {"SysGetDesktopDir", 'S', "A",
     "Directory:= SysGetDesktopDir( )"},
    // 30
    {"SysGetDOSEnvironment", 'S', "A",
     "Env:= SysGetDOSEnvironment( )"},
    {"SysGetDriveList", 'S', "A",
     "DriveNames:= SysGetDriveList( )"},
    {"SysGetDriveType", 'S', "AS",
     "Type:= SysGetDriveType( DriveName )"
     "\r\n(types: fixed, removable, cdrom, remote, ramdisk, error)"},
    {"SysGetEnvVariable", 'S', "AS",
     "Value:= SysGetEnvVariable( VariableName )"},
    {"SysGetFileAttrib", 'S', "AS",
     "Attrib:= SysGetFileAttrib( FileName )"
     "\r\nAttrib = R (read-only), H (hidden), S (system), A (archive), D (directory)"},
    // 35
    {"SysGetFileSize", 'L', "AS",
     "FileSize:= SysGetFileSize( FileName )"},
    {"SysGetFileTime", 'S', "AS",
     "FileTime:= SysGetFileTime( FileName )"},
    {"SysGetFileVersion", 'S', "AS",
     "FileVersion:= SysGetFileVersion( FileName )"},
    {"SysGetFreeDiskSpace", 'L', "AS",
     "DiskSpace:= SysGetFreeDiskSpace( DriveName )"},
    {"SysGetOSVersion", 'S', "A",
     "Version:= SysGetOSVersion( )"
     "\r\nVersion: 3.0, 3.1, WOW, 95, 32s, NT"},
    // 40
    {"SysGetStartMenuDir", 'S', "A",
     "Directory:= SysGetStartMenuDir( )"},
    {"SysGetStartupDir", 'S', "A",
     "Directory:= SysGetStartupDir( )"},
    {"SysGetSystemDir", 'S', "A",
     "Directory:= SysGetSystemDir( )"},
    {"SysGetSystemFontHeight", 'I', "A",
     "FontHeight:= SysGetSystemFontHeight( )"},
    {"SysGetTempDir", 'S', "A",
     "Directory:= SysGetTempDir( )"},
    // 45
    {"SysGetTempFileName", 'S', "AS",
     "FileName:= SysGetTempFileName( Prefix )"},
    {"SysGetTotalDiskSpace", 'L', "AS",
     "DiskSpace:= SysGetTotalDiskSpace( DriveName )"},
    {"SysGetVideoVersion", 'S', "A",
     "Version:= SysGetVideoVersion( )"},
    {"SysGetVolumeName", 'S', "AS",
     "VolName:= SysGetVolumeName( DriveName )"},
    {"SysGetWindowClass", 'S', "AS",
     "Class:= SysGetWindowClass( WindowTitle )"},
    // 50
    {"SysGetWindowsDir", 'S', "A",
     "Directory:= SysGetWindowsDir( )"},
    {"SysHelp", 'I', "ASSS",
     "SysHelp( HelpFileName, SecondaryWindowName, Command )"
     "\r\nCommands: contents"
     "\r\ncontext n"
     "\r\npopup n"
     "\r\ntopic \"topic\""
     "\r\nmacro \"macro\""
     "\r\nwinpos state x y width height"},
    {"SysHideWindow", 'V', "AL",
     "SysHideWindow( WindowID )"},
    {"SysHideWindowTitle", 'V', "A",
     "SysHideWindowTitle( )"},
    {"SysInfoMessage", 'I', "AIISS",
     "SysInfoMessage( ButtonType, DefaultButton, Title, Message )"
     "\r\nButtonType: 0 = OK, 1 = OK/Cancel, 2 = Yes/No, 3 = Yes/No/Cancel, 4 = Retry/Cancel"},
    // 55
    {"SysIsCDDrive", 'I', "AS",
     "IsCD:= SysIsCDDrive( DriveName )"},
    {"SysIsWindowActive", 'I', "AL",
     "IsMin:= SysIsWindowActive( WindowID )"},
    {"SysIsWindowMinimized", 'I', "AL",
     "IsMin:= SysIsWindowMinimized( WindowID )"},
    {"SysIsWindowMaximized", 'I', "AL",
     "IsMax:= SysIsWindowMaximized( WindowID )"},
    {"SysIsWindowVisible", 'I', "AL",
     "IsVisible:= SysIsWindowVisible( WindowID )"},
    // 60
    {"SysListPrompt", 'S', "AIIISSIISSIIIISSSI",
     "SysListPrompt( Left, Top, Width, Title, Description, CenterDesc, NumberDescLines, Heading, ListItems, Sort, MultipleSelect, FixedFont, NumberListLines, Button1, Button2, Button3, DefaultButton )"},
    {"SysMinimizeWindow", 'V', "AL",
     "SysMinimizeWindow( WindowID )"},
    {"SysMaximizeWindow", 'V', "AL",
     "SysMaximizeWindow( WindowID )"},
    {"SysMessage", 'I', "AIISS",
     "SysMessage( ButtonType, DefaultButton, Title, Message )"
     "\r\nButtonType: 0 = OK, 1 = OK/Cancel, 2 = Yes/No, 3 = Yes/No/Cancel, 4 = Retry/Cancel"},
    {"SysMoveFile", 'I', "ASS",
     "SysMoveFile( SourceFileName, DestFileName )"},
    // 65
    {"SysMoveFileList", 'I', "ASI",
     "SysMoveFileList( FileNameList, Overwrite )"
     "\r\nFileNameList: Source File Path\\tDest File Path\\r..."},
    {"SysMoveFiles", 'I', "ASSSII",
     "SysMoveFiles( SourceFileSpec, DestDirectory, FileType, TraverseDirs, Overwrite )"},
    {"SysPosWindow", 'I', "ALIIII",
     "SysPosWindow( WindowID, Left, Top, HorizPos, VertPos )"
     "\r\nHoriz Pos: 1 = center, 2 = right. Vert Pos: 1 = center, 2 = bottom"},
    {"SysPrompt", 'S', "AIIISSIISSSSIII",
     "SysPrompt( Left, Top, Width, Title, Description, CenterDesc, NumberDescLines, Label, Button1, Button2, Button3, DefaultButton, MaxEditLength, NumberEditLines )"},
    {"SysPromptDirName", 'S', "ASSI",
     "SysPromptDirName( DefaultDir, Title, NewDirButton )"},
    // 70
    {"SysPromptOpenFileName", 'S', "ASSSSI",
     "SysPromptOpenFileName( Directory, Title, Types, DefaultExt, MultipleFiles )"},
    {"SysPromptSaveFileName", 'S', "ASSSSSS",
     "SysPromptSaveFileName( Directory, DefaultFileName, Title, Prompt, Types, DefaultExtension )"},
    {"SysQuestionMessage", 'I', "AIISS",
     "SysQuestionMessage( ButtonType, DefaultButton, Title, Message )"
     "\r\nButtonType: 0 = OK, 1 = OK/Cancel, 2 = Yes/No, 3 = Yes/No/Cancel, 4 = Retry/Cancel"},
    {"SysReadRegistry", 'S', "AISS",
     "SysReadRegistry( RootKey, MainKey, SubKey )"
     "\r\nRootKey should be 0 for Windows 3.1"},
    {"SysReadValue", 'S', "ASSSS",
     "Value:= SysReadValue( FileName, Section, Label, Default )"},
    // 75
    {"SysReadVariables", 'I', "ASSS",
     "SysReadVariables( FileName, Section, VariableList )"},
    {"SysReleaseCursor", 'V', "A",
     "SysReleaseCursor( )"},
    {"SysRemoveDir", 'I', "ASI",
     "SysRemoveDir( DirName, RemoveSubDirs )"},
    {"SysRenameFile", 'I', "ASS",
     "SysRenameFile( SourceFileName, DestFileName )"},
    {"SysRenameFileList", 'I', "ASI",
     "SysRenameFileList( FileNameList, Overwrite )"
     "\r\nFileNameList: Source File Path\\tDest File Path\\r..."},
    // 80
    {"SysRestart", 'V', "A",
     "SysRestart( )"},
    {"SysRestrictCursor", 'V', "AIIII",
     "SysRestrictCursor( Left, Top, Right, Bottom )"},
    {"SysRunProgram", 'I', "ASII",
     "SysRunProgram( ProgramFileName, State, Wait )"
     "\r\nState: 0 = normal, 1 = minimized, 2 = maximized, 3 = hidden."},
    {"SysSetActiveWindow", 'V', "AL",
     "SysSetActiveWindow( WindowID )"},
    {"SysSetCurDir", 'I', "AS",
     "SysSetCurDir( DirName )"},
    // 85
    {"SysSetCursorPos", 'V', "AIII",
     "SysSetCursorPos( Left, Top, WindowRelative )"},
    {"SysSetCurDrive", 'I', "AS",
     "SysSetCurDrive( DriveName )"},
    {"SysSetFileAttrib", 'I', "ASS",
     "SysSetFileAttrib( FileName, Attributes )"
     "\r\nAttributes = R (read-only), H (hidden), S (system), A (archive)"},
    {"SysSetFileTime", 'I', "ASSS",
     "SysSetFileTime( FileName, Date, Time )"},
    {"SysSetScreenRes", 'I', "AIII",
     "SysSetScreenRes( Width, Height, ColorBits )"},
    // 90
    {"SysSetWindowAboveAll", 'V', "AL",
     "SysSetWindowAboveAll( WindowID )"},
    {"SysSetWindowNormal", 'V', "AL",
     "SysSetWindowNormal( WindowID )"},
    {"SysSetWindowTitle", 'I', "ALS",
     "SysSetWindowTitle( WindowID, Title )"},
    {"SysSetWindowTop", 'V', "AL",
     "SysSetWindowTop( WindowID )"},
    {"SysSizeWindow", 'I', "ALIIII",
     "SysSizeWindow( WindowID, Width, Height, HorizPercent, VertPercent )"},
    // 95
    {"SysTextToClipboard", 'I', "AS",
     "SysTextToClipboard( Text )"},
    {"SysVeruWindow", 'V', "AL",
     "SysVeruWindow( WindowID )"},
    {"SysVeruWindowTitle", 'V', "A",
     "SysVeruWindowTitle( )"},
    {"SysWarningMessage", 'I', "AIISS",
     "SysWarningMessage( ButtonType, DefaultButton, Title, Message )"
     "\r\nButtonType: 0 = OK, 1 = OK/Cancel, 2 = Yes/No, 3 = Yes/No/Cancel, 4 = Retry/Cancel"},
    {"SysWriteRegistry", 'I', "AISSS",
     "SysWriteRegistry( RootKey, MainKey, SubKey, Value )"},
    // 100
    {"SysWriteValue", 'I', "ASSSS",
     "SysWriteValue( FileName, Section, Label, Value )"},
    {"SysWriteVariables", 'I', "ASSS",
     "SysWriteVariables( FileName, Section, VariableList )"},
};
// clang-format on
static_assert(sizeof(kExports) / sizeof(kExports[0]) == 102);

constexpr ProcedureRow kProcedures[] = {
    {"PromptDlgProc", false},
    {"ListDlgProc", false},
    // The directory chooser's procedures are exported decorated: those are the names looked up.
    {"DirDialogProc", true},
    {"NewDirDialogProc", true},
    {"ListProc", true},
};

}  // namespace

std::span<const ExportRow> ExportTable() { return kExports; }
std::span<const ProcedureRow> ProcedureTable() { return kProcedures; }

int ArgumentBytes(const ExportRow& row) { return 4 * static_cast<int>(row.arguments.size()); }

}  // namespace rxsystem

// A module with nothing in it but its broken version resource.
extern "C" {
__declspec(dllexport) int rxsystem_broken_version_marker = 1;
}

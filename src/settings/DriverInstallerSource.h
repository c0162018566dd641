#pragma once

// ---------------------------------------------------------------------------------------------
// THE DRIVER INSTALLER: the address it is downloaded from and the SHA-256 digest it must have.
// Both are placeholders until the maker publishes the installer: fill in the real address and
// its digest before a release. The address must be HTTPS (nothing else is downloaded); the
// digest is 64 hexadecimal digits. An installer whose digest differs is deleted and never
// started, so with the placeholder digest every installer is refused.
inline constexpr char kDriverInstallerUrl[] =
    "https://clavitor.example/downloads/driver/installer.exe";
inline constexpr char kDriverInstallerSha256[] =
    "0000000000000000000000000000000000000000000000000000000000000000";
// ---------------------------------------------------------------------------------------------

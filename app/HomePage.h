// The maker's web site, which the banner and the frame's home-page command open.
#pragma once

#include <afxwin.h>

// The maker's web address.
extern const LPCTSTR MAKER_HOME_PAGE;

// Opens the maker's home page in the user's browser (shell verb "Open", shown normally); FALSE when
// the shell could not open it.
BOOL OpenMakerHomePage();

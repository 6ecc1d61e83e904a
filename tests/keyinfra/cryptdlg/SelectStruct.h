#pragma once
// The dialog function the double exports; the structure is the shared declaration.
#include "CertSelectDialog.h"

extern "C" BOOL WINAPI CertSelectCertificateW(PCERT_SELECT_STRUCT_W pCertSelectInfo);

#pragma once
// ZJCA's ePass3003 software reads the value "Catch" under
// HKLM\Software\ZJCA\ePass3003; every new control instance makes sure it is
// REG_DWORD 1 when that key exists and may be written. Never fails, never
// creates the key.
void AdjustEPassCatch() noexcept;

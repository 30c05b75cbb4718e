// Codes of the object handles a user can grab (`Griffpunkt`); -1 means none.
//
// Thread context: constants only.
#pragma once

namespace panel {

inline constexpr int kKeinGriff = -1;
inline constexpr int kGriffPlanMitte = 0;
inline constexpr int kGriffPunkt = 1;
inline constexpr int kGriffLinieStart = 2;
inline constexpr int kGriffLinieEnde = 3;
inline constexpr int kGriffLinieMitte = 4;
inline constexpr int kGriffRechteckLinks = 5;
inline constexpr int kGriffRechteckMitte = 6;
inline constexpr int kGriffRechteckRechts = 7;
inline constexpr int kGriffVieleckMitte = 8;  // 9-12 its radius handles
inline constexpr int kGriffKreisMitte = 13;   // 14 left, 15 right, 16 top, 17 bottom
inline constexpr int kGriffKbogenMitte = 18;  // 19-22 its radius handles
inline constexpr int kGriffTextLinks = 23;    // 24 centred, 25 right
inline constexpr int kGriffHpglUrsprung = 26;
inline constexpr int kGriffBiblioUrsprung = 27;

}  // namespace panel

#include "window/LiveDisplayLocks.h"

#include <array>
#include <cstddef>

namespace orva {
namespace {

using D = Dialog;

constexpr ControlKey kMainLocks[] = {
    {D::Main, 1000}, {D::Main, 1061},                                    // port choice
    {D::Main, 1001}, {D::Main, 1028}, {D::Main, 1043},                   // firmware choice, start
    {D::Main, 1002}, {D::Main, 1032}, {D::Main, 1003}, {D::Main, 1033},  // multi-axis, ESC
    {D::Main, 1013}, {D::Main, 1215},                                    // servo rate
    {D::Main, 1060}, {D::Main, 1062}, {D::Main, 1064}, {D::Main, 1065},  // sensor boxes
    {D::Main, 1021},                                                     // and their button
    {D::Main, 1020}, {D::Main, 1031}, {D::Main, 1018},                   // magnetic declination
    {D::Main, 1015}, {D::Main, 1099}, {D::Main, 1100},                   // save and restore
    {D::Main, 1017}, {D::Main, 1019},                                    // Refresh, language
};

// The function matrix, row by row in bit order (113 is row b's CH6-low box).
constexpr int kMatrixIds[] = {
    1114, 1134, 1143, 1152, 1161, 1170, 1179, 1188, 1215, 1224, 1233, 1242,  // a
    1115, 1135, 1144, 113,  1162, 1171, 1180, 1189, 1216, 1225, 1234, 1243,  // b
    1116, 1136, 1145, 1154, 1163, 1172, 1181, 1190, 1217, 1226, 1235, 1244,  // c
    1117, 1137, 1146, 1155, 1164, 1173, 1182, 1191, 1218, 1227, 1236, 1245,  // d
    1120, 1138, 1147, 1156, 1165, 1174, 1183, 1192, 1219, 1228, 1237, 1246,  // e
    1129, 1139, 1148, 1157, 1166, 1175, 1184, 1193, 1220, 1229, 1238, 1247,  // f
    1133, 1153, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258, 1259, 1260,  // =
    1130, 1140, 1149, 1158, 1167, 1176, 1185, 1194, 1221, 1230, 1239, 1248,  // g
    1131, 1141, 1150, 1159, 1168, 1177, 1186, 1195, 1222, 1231, 1240, 1249,  // h
    1132, 1142, 1151, 1160, 1169, 1178, 1187, 1196, 1223, 1232, 1241, 1250,  // i
};

// Switch indicators, failsafe indicator and the power-off delay slider.
constexpr int kCustomSliderIds[] = {1038, 1039, 1040, 1045, 1046, 1047};

constexpr std::size_t kLockCount =
    std::size(kMainLocks) + std::size(kMatrixIds) + std::size(kCustomSliderIds);

constexpr std::array<ControlKey, kLockCount> buildLocks() {
    std::array<ControlKey, kLockCount> locks{};
    std::size_t n = 0;
    for (ControlKey key : kMainLocks) {
        locks[n++] = key;
    }
    for (int id : kMatrixIds) {
        locks[n++] = {D::Custom, id};
    }
    for (int id : kCustomSliderIds) {
        locks[n++] = {D::Custom, id};
    }
    return locks;
}

constexpr std::array<ControlKey, kLockCount> kLocks = buildLocks();

}  // namespace

std::span<const ControlKey> liveDisplayLockedControls() {
    return kLocks;
}

}  // namespace orva

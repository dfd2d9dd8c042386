// The VideoAnalysis exports: what they send and how they read answers
// (against the scripted fake device), and every export end to end against
// the device simulator.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "service_test.h"
#include "webservice/WebService.h"

namespace {

using VideoAnalysisWire = ServiceWire;

// (The golden exchanges hold the requests and what the reads copy and leave.)
// An ignore-area count below 1 sends no list; a counted list without its
// array is refused before anything is sent.
TEST_F(VideoAnalysisWire, IgnoreAreaCounts) {
  PositionRecord start[2] = {{1, 2}, {3, 4}};
  AutoPTZTrackingRequestRecord request{};
  request.channel = 1;
  request.param.APTZIgnoreAreaStartCount = -1;
  request.param.APTZIgnoreAreaStart = start;
  CallResult result = Pattern<CallResult>();
  AnswerFrom("SetAutoPTZTrackingParam");
  ASSERT_EQ(0, Call(DLL_WebServiceSetAutoPTZTrackingParam, &request, &result));
  const std::string sent = LastBody();
  EXPECT_EQ(std::string::npos, sent.find("APTZIgnoreArea")) << sent;
  EXPECT_NE(std::string::npos, sent.find("<ns1:APTZTimeout>"));

  request.param.APTZIgnoreAreaEndCount = 1;
  request.param.APTZIgnoreAreaEnd = nullptr;
  EXPECT_EQ(-1, Call(DLL_WebServiceSetAutoPTZTrackingParam, &request, &result));
  EXPECT_EQ(1u, device.Requests().size());
}

// A present list gets a new array, also when empty, which the caller
// releases (AddressSanitizer checks the release).
TEST_F(VideoAnalysisWire, EmptyListsGetNewArrays) {
  const int32_t channel = 1;
  AutoPTZTrackingParamRecord param = Pattern<AutoPTZTrackingParamRecord>();
  AnswerFrom("GetAutoPTZTrackingParam", "present lists in new arrays, absent parts kept");
  ASSERT_EQ(0, Call(DLL_WebServiceGetAutoPTZTrackingParam, &channel, &param));
  EXPECT_EQ(0, param.APTZIgnoreAreaEndCount);
  EXPECT_NE(nullptr, param.APTZIgnoreAreaEnd);
  EXPECT_NE(Pattern<AutoPTZTrackingParamRecord>().APTZIgnoreAreaEnd, param.APTZIgnoreAreaEnd);
  WebService_FreeItems(param.APTZIgnoreAreaStart);
  WebService_FreeItems(param.APTZIgnoreAreaEnd);
  WebService_FreeItems(param.APTZreserved);

  DetectionWindowListRecord windows = Pattern<DetectionWindowListRecord>();
  AnswerFrom("GetDetectionWindowList", "empty list");
  ASSERT_EQ(0, Call(DLL_WebServiceGetDetectionWindowList, &channel, &windows));
  EXPECT_EQ(0, windows.count);
  ASSERT_NE(nullptr, windows.items);
  EXPECT_NE(Pattern<DetectionWindowListRecord>().items, windows.items);
  WebService_FreeItems(windows.items);

  ParamListRecord roi = Pattern<ParamListRecord>();
  AnswerFrom("GetROIParam", "empty list");
  ASSERT_EQ(0, Call(DLL_WebServiceGetROIParam, &channel, &roi));
  EXPECT_EQ(0, roi.count);
  ASSERT_NE(nullptr, roi.items);
  EXPECT_NE(Pattern<ParamListRecord>().items, roi.items);
  WebService_FreeItems(roi.items);
}

using VideoAnalysisSim = ServiceSim;

TEST_F(VideoAnalysisSim, ConfigurationModeClassificationAndTracking) {
  // A configuration set on channel 2 comes back whole; channel 1 keeps its own.
  ChannelRequestRecord channel{};
  channel.channel = 2;
  VAConfigRecord config{};
  ASSERT_EQ(0, Call(DLL_WebServiceGetVAConfiguration, &channel, &config));
  ASSERT_EQ(0, config.resultCode);
  VAConfigRequestRecord set{};
  set.channel = 2;
  set.config = config;
  set.config.vaEnable = 1;
  set.config.perspectiveSize[2] = {100, 200};
  set.config.maxBasicObject = {640, 480, 3000};
  set.config.shadowIntensityRatioUB = 95;
  set.config.trackingDistMarginInc = 6;
  EXPECT_EQ(0, Verdict(DLL_WebServiceSetVAConfiguration, set));
  VAConfigRecord back{};
  ASSERT_EQ(0, Call(DLL_WebServiceGetVAConfiguration, &channel, &back));
  set.config.resultCode = 0;
  EXPECT_EQ(0, std::memcmp(&set.config, &back, sizeof back));
  channel.channel = 1;
  ASSERT_EQ(0, Call(DLL_WebServiceGetVAConfiguration, &channel, &back));
  EXPECT_EQ(0, back.vaEnable);
  channel.channel = 9;
  back = Pattern<VAConfigRecord>();
  ASSERT_EQ(0, Call(DLL_WebServiceGetVAConfiguration, &channel, &back));
  EXPECT_EQ(3, back.resultCode);  // no such channel

  EXPECT_EQ(0, Verdict(DLL_WebServiceSetVAMode, VAModeRecord{3, 2}));
  const int32_t three = 3;
  IntValueRecord mode{};
  ASSERT_EQ(0, Call(DLL_WebServiceGetVAMode, &three, &mode));
  EXPECT_EQ(2, mode.value);

  ObjectClassificationRequestRecord classification{3, {1, 2, {3, 4, 5}, {6, 7, 8}, 0}};
  EXPECT_EQ(0, Verdict(DLL_WebServiceSetVAObjectClassificationParam, classification));
  ObjectClassificationParamRecord classBack{};
  ASSERT_EQ(0, Call(DLL_WebServiceGetVAObjectClassificationParam, &three, &classBack));
  EXPECT_EQ(0, std::memcmp(&classification.param, &classBack, sizeof classBack));

  PositionRecord areas[3] = {{1, 1}, {2, 2}, {3, 3}};
  AutoPTZTrackingRequestRecord tracking{};
  tracking.channel = 3;
  tracking.param.APTZInitialZoom = 4;
  tracking.param.APTZIgnoreAreaStartCount = 3;
  tracking.param.APTZIgnoreAreaStart = areas;
  tracking.param.APTZMinObjectSize = {9, 9, 81};
  tracking.param.APTZCamHeight = 12;
  EXPECT_EQ(0, Verdict(DLL_WebServiceSetAutoPTZTrackingParam, tracking));
  AutoPTZTrackingParamRecord trackBack{};
  ASSERT_EQ(0, Call(DLL_WebServiceGetAutoPTZTrackingParam, &three, &trackBack));
  EXPECT_EQ(4, trackBack.APTZInitialZoom);
  EXPECT_EQ(12, trackBack.APTZCamHeight);
  EXPECT_EQ(81, trackBack.APTZMinObjectSize.pixel);
  ASSERT_EQ(3, trackBack.APTZIgnoreAreaStartCount);
  EXPECT_EQ(3, trackBack.APTZIgnoreAreaStart[2].y);
  EXPECT_EQ(0, trackBack.APTZIgnoreAreaEndCount);
  ASSERT_EQ(10, trackBack.APTZreservedCount);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(0, trackBack.APTZreserved[i]);
  WebService_FreeItems(trackBack.APTZIgnoreAreaStart);
  WebService_FreeItems(trackBack.APTZIgnoreAreaEnd);
  WebService_FreeItems(trackBack.APTZreserved);
}

TEST_F(VideoAnalysisSim, RegionOfInterestAndDetectionWindows) {
  const int32_t channel = 1;
  ParamRecord pairs[2] = {{"roiEnable", "1"}, {"roiQuality", "80"}};
  EXPECT_EQ(0, Verdict(DLL_WebServiceSetROIParam, ROIParamRequestRecord{1, 2, pairs}));
  ParamListRecord roi{};
  ASSERT_EQ(0, Call(DLL_WebServiceGetROIParam, &channel, &roi));
  ASSERT_EQ(2, roi.count);
  EXPECT_STREQ("80", roi.items[1].value);
  WebService_FreeItems(roi.items);
  EXPECT_EQ(0, Verdict(DLL_WebServiceSetROIParam, ROIParamRequestRecord{1, 0, nullptr}));
  ASSERT_EQ(0, Call(DLL_WebServiceGetROIParam, &channel, &roi));
  EXPECT_EQ(0, roi.count);
  WebService_FreeItems(roi.items);

  // A user draws two windows, renames one, renumbers it by its name, and
  // removes the other; duplicates and unknown windows are refused.
  DetectionWindowRequestRecord door{1, {5, 40, "door", {10, 20}, {100, 50}}};
  DetectionWindowRequestRecord gate{1, {0, 60, "gate", {0, 0}, {20, 20}}};
  EXPECT_EQ(0, Verdict(DLL_WebServiceAddDetectionWindow, door));
  EXPECT_EQ(0, Verdict(DLL_WebServiceAddDetectionWindow, gate));  // numbered 6
  EXPECT_EQ(500, Verdict(DLL_WebServiceAddDetectionWindow, door));
  door.window.threshold = 45;
  std::strcpy(door.window.alias, "front door");
  EXPECT_EQ(0, Verdict(DLL_WebServiceUpdateDetectionWindow, door));
  door.window.sequence = 8;
  EXPECT_EQ(0, Verdict(DLL_WebServiceUpdateDetectionWindow, door));
  EXPECT_EQ(0, Verdict(DLL_WebServiceRemoveDetectionWindow, DetectionWindowRefRecord{1, 6}));
  EXPECT_EQ(501, Verdict(DLL_WebServiceRemoveDetectionWindow, DetectionWindowRefRecord{1, 6}));
  EXPECT_EQ(3, Verdict(DLL_WebServiceRemoveDetectionWindow, DetectionWindowRefRecord{5, 8}));

  DetectionWindowListRecord windows{};
  ASSERT_EQ(0, Call(DLL_WebServiceGetDetectionWindowList, &channel, &windows));
  ASSERT_EQ(1, windows.count);
  EXPECT_EQ(0, std::memcmp(&door.window, &windows.items[0], sizeof door.window));
  WebService_FreeItems(windows.items);
  const int32_t other = 2;
  ASSERT_EQ(0, Call(DLL_WebServiceGetDetectionWindowList, &other, &windows));
  EXPECT_EQ(0, windows.count);
  EXPECT_NE(nullptr, windows.items);
  WebService_FreeItems(windows.items);
}

}  // namespace

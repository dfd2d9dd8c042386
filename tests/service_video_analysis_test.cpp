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

// The text between <ns1:name> and its end tag (empty when there is none).
std::string Element(const std::string &text, const std::string &name) {
  const std::string open = "<ns1:" + name + ">", close = "</ns1:" + name + ">";
  size_t begin = text.find(open);
  if (begin == std::string::npos) return "";
  begin += open.size();
  return text.substr(begin, text.find(close, begin) - begin);
}

std::string Point(int x, int y) {
  return "<Position_T><x>" + std::to_string(x) + "</x><y>" + std::to_string(y) + "</y></Position_T>";
}

std::string Ok(const std::string &op) { return Response(op, "<" + op + "Result>true</" + op + "Result><resultCode>0</resultCode>"); }

class VideoAnalysisWire : public ServiceWire {
 protected:
  // Runs call against answer; expects status 0 and returns the request sent.
  template <class Call>
  std::string Exchange(const std::string &answer, Call call) {
    device.Script({Reply::Ok(answer)});
    EXPECT_EQ(0, call());
    return device.Request();
  }
};

// (The golden exchanges hold the requests: every part once, the perspective
// arrays with four points each.)
TEST_F(VideoAnalysisWire, ConfigurationReadsWhatIsPresent) {
  // Read back: present parts only; a nil point leaves its entry, a fifth
  // point is dropped, absent parts keep the caller's values.
  VAConfigRecord config = Pattern<VAConfigRecord>();
  const std::string answer = Response(
      "GetVAConfiguration",
      "<GetVAConfigurationResult><vaEnable>1</vaEnable><learningTime>77</learningTime>"
      "<sizeFilterParam><usePerspective>1</usePerspective>"
      "<perspectiveSize>" + Point(1, 2) + Point(3, 4) + Point(5, 6) + Point(7, 8) + Point(9, 9) + "</perspectiveSize>"
      "<minPerspectiveObject>" + Point(11, 12) + "<Position_T xsi:nil=\"true\"/>" + Point(13, 14) +
      "</minPerspectiveObject><minBasicObject><width>5</width><height>6</height><pixel>30</pixel></minBasicObject>"
      "</sizeFilterParam><objectDetectionParam><distanceThreshold>8</distanceThreshold></objectDetectionParam>"
      "</GetVAConfigurationResult><resultCode>0</resultCode>");
  ChannelRequestRecord channel{};
  channel.channel = 1;
  Exchange(answer, [&] { return Call(DLL_WebServiceGetVAConfiguration, &channel, &config); });
  EXPECT_EQ(0, config.resultCode);
  EXPECT_EQ(1, config.vaEnable);
  EXPECT_EQ(77, config.learningTime);
  EXPECT_EQ(0, config.enableContour);  // missing member: its default
  EXPECT_EQ(1, config.usePerspective);
  EXPECT_EQ(0, config.resetPerspective);
  EXPECT_EQ(7, config.perspectiveSize[3].x);
  EXPECT_EQ(11, config.minPerspectiveObject[0].x);
  EXPECT_EQ(13, config.minPerspectiveObject[2].x);
  VAConfigRecord pattern = Pattern<VAConfigRecord>();
  EXPECT_EQ(0, std::memcmp(&pattern.minPerspectiveObject[1], &config.minPerspectiveObject[1], sizeof(PositionRecord)));
  EXPECT_EQ(0, std::memcmp(&pattern.minPerspectiveObject[3], &config.minPerspectiveObject[3], sizeof(PositionRecord)));
  EXPECT_EQ(0, std::memcmp(&pattern.maxPerspectiveObject, &config.maxPerspectiveObject, sizeof config.maxPerspectiveObject));
  EXPECT_EQ(30, config.minBasicObject.pixel);
  EXPECT_EQ(pattern.maxBasicObject.width, config.maxBasicObject.width);
  EXPECT_EQ(8, config.distanceThreshold);
  EXPECT_EQ(pattern.shadowRemoval, config.shadowRemoval);
  EXPECT_EQ(pattern.trackingStrictness, config.trackingStrictness);

  // A refusal writes resultCode only.
  config = Pattern<VAConfigRecord>();
  Exchange(Response("GetVAConfiguration", "<GetVAConfigurationResult><vaEnable>1</vaEnable></GetVAConfigurationResult>"
                                          "<resultCode>5</resultCode>"),
           [&] { return Call(DLL_WebServiceGetVAConfiguration, &channel, &config); });
  EXPECT_EQ(5, config.resultCode);
  config.resultCode = pattern.resultCode;
  EXPECT_TRUE(Untouched(config));
}

TEST_F(VideoAnalysisWire, AutoTrackingListsAndReservedItems) {
  // An ignore-area list goes out only for a count above 0; the reserved list
  // always as ten zeros, whatever the caller's reserved fields hold.
  PositionRecord start[2] = {{1, 2}, {3, 4}};
  int32_t reserved[3] = {5, 6, 7};
  AutoPTZTrackingRequestRecord request{};
  request.channel = 1;
  request.param.APTZTimeout = 31;
  request.param.APTZIgnoreAreaStartCount = 2;
  request.param.APTZIgnoreAreaStart = start;
  request.param.APTZIgnoreAreaEndCount = 0;
  request.param.APTZIgnoreAreaEnd = start;
  request.param.APTZreservedCount = 3;
  request.param.APTZreserved = reserved;
  request.param.APTZTrackMode = 2;
  CallResult result = Pattern<CallResult>();
  std::string sent = Exchange(Ok("SetAutoPTZTrackingParam"),
                              [&] { return Call(DLL_WebServiceSetAutoPTZTrackingParam, &request, &result); });
  EXPECT_EQ(2u, Count(Element(sent, "APTZIgnoreAreaStart"), "<ns1:Position_T>"));
  EXPECT_EQ(std::string::npos, sent.find("APTZIgnoreAreaEnd"));
  EXPECT_EQ(10u, Count(Element(sent, "APTZreserved"), "<ns1:int>0</ns1:int>"));
  EXPECT_EQ(10u, Count(Element(sent, "APTZreserved"), "<ns1:int>"));
  EXPECT_EQ("31", Element(sent, "APTZTimeout"));
  EXPECT_EQ(1u, Count(sent, "<ns1:APTZMinObjectSize>"));

  request.param.APTZIgnoreAreaStartCount = -1;
  sent = Exchange(Ok("SetAutoPTZTrackingParam"), [&] { return Call(DLL_WebServiceSetAutoPTZTrackingParam, &request, &result); });
  EXPECT_EQ(std::string::npos, sent.find("APTZIgnoreArea"));

  // A counted list without its array is refused before anything is sent.
  request.param.APTZIgnoreAreaEndCount = 1;
  request.param.APTZIgnoreAreaEnd = nullptr;
  device.Script({Reply::Ok(Ok("SetAutoPTZTrackingParam"))});
  EXPECT_EQ(-1, Call(DLL_WebServiceSetAutoPTZTrackingParam, &request, &result));
  EXPECT_TRUE(device.Requests().empty());

  // Get: a present list gets a new array, also when empty; zeros stay zeros;
  // an absent list leaves the caller's fields.
  AutoPTZTrackingParamRecord param = Pattern<AutoPTZTrackingParamRecord>();
  Exchange(Response("GetAutoPTZTrackingParam",
                    "<GetAutoPTZTrackingParamResult><APTZReset>1</APTZReset><APTZTimeout>9</APTZTimeout>"
                    "<APTZIgnoreAreaStart>" + Point(1, 2) + Point(3, 4) + "</APTZIgnoreAreaStart>"
                    "<APTZIgnoreAreaEnd></APTZIgnoreAreaEnd><APTZTrackMode>4</APTZTrackMode>"
                    "<APTZreserved><int>0</int><int>0</int><int>8</int></APTZreserved>"
                    "</GetAutoPTZTrackingParamResult><resultCode>0</resultCode>"),
           [&] { return Call(DLL_WebServiceGetAutoPTZTrackingParam, &request.channel, &param); });
  EXPECT_EQ(1, param.APTZReset);
  EXPECT_EQ(9, param.APTZTimeout);
  EXPECT_EQ(4, param.APTZTrackMode);
  ASSERT_EQ(2, param.APTZIgnoreAreaStartCount);
  EXPECT_EQ(3, param.APTZIgnoreAreaStart[1].x);
  EXPECT_EQ(0, param.APTZIgnoreAreaEndCount);
  EXPECT_NE(nullptr, param.APTZIgnoreAreaEnd);
  ASSERT_EQ(3, param.APTZreservedCount);
  EXPECT_EQ(0, param.APTZreserved[0]);
  EXPECT_EQ(0, param.APTZreserved[1]);
  EXPECT_EQ(8, param.APTZreserved[2]);
  AutoPTZTrackingParamRecord pattern = Pattern<AutoPTZTrackingParamRecord>();
  EXPECT_EQ(0, std::memcmp(&pattern.APTZMinObjectSize, &param.APTZMinObjectSize, sizeof param.APTZMinObjectSize));
  WebService_FreeItems(param.APTZIgnoreAreaStart);
  WebService_FreeItems(param.APTZIgnoreAreaEnd);
  WebService_FreeItems(param.APTZreserved);

  param = Pattern<AutoPTZTrackingParamRecord>();
  Exchange(Response("GetAutoPTZTrackingParam", "<GetAutoPTZTrackingParamResult><APTZReset>1</APTZReset>"
                                               "</GetAutoPTZTrackingParamResult><resultCode>2</resultCode>"),
           [&] { return Call(DLL_WebServiceGetAutoPTZTrackingParam, &request.channel, &param); });
  EXPECT_EQ(2, param.resultCode);
  param.resultCode = pattern.resultCode;
  EXPECT_TRUE(Untouched(param));
}

TEST_F(VideoAnalysisWire, ListsStoreNewArraysAlsoWhenEmpty) {
  const int32_t channel = 1;
  // The window list keeps its pointer first; an empty list still gets an array.
  DetectionWindowListRecord windows = Pattern<DetectionWindowListRecord>();
  Exchange(Response("GetDetectionWindowList", "<GetDetectionWindowListResult/><resultCode>0</resultCode>"),
           [&] { return Call(DLL_WebServiceGetDetectionWindowList, &channel, &windows); });
  EXPECT_EQ(0, windows.count);
  EXPECT_EQ(0, windows.resultCode);
  ASSERT_NE(nullptr, windows.items);
  EXPECT_NE(Pattern<DetectionWindowListRecord>().items, windows.items);
  WebService_FreeItems(windows.items);

  // Items in order; a long alias is cut to 255 bytes; a nil item is zeros.
  const std::string alias(300, 'a');
  Exchange(Response("GetDetectionWindowList",
                    "<GetDetectionWindowListResult><DetectionWindow_T><sequence>4</sequence><threshold>9</threshold>"
                    "<alias>" + alias + "</alias><position><x>1</x><y>2</y></position><size><x>30</x><y>40</y></size>"
                    "</DetectionWindow_T><DetectionWindow_T xsi:nil=\"true\"/></GetDetectionWindowListResult>"
                    "<resultCode>0</resultCode>"),
           [&] { return Call(DLL_WebServiceGetDetectionWindowList, &channel, &windows); });
  ASSERT_EQ(2, windows.count);
  EXPECT_EQ(4, windows.items[0].sequence);
  EXPECT_EQ(9, windows.items[0].threshold);
  EXPECT_EQ(alias.substr(0, 255), windows.items[0].alias);
  EXPECT_EQ(2, windows.items[0].position.y);
  EXPECT_EQ(40, windows.items[0].size.y);
  const DetectionWindowRecord zero{};
  EXPECT_EQ(0, std::memcmp(&zero, &windows.items[1], sizeof zero));
  WebService_FreeItems(windows.items);

  // A refusal or a missing list writes resultCode only.
  for (const char *inner : {"<GetDetectionWindowListResult/><resultCode>3</resultCode>", "<resultCode>0</resultCode>"}) {
    windows = Pattern<DetectionWindowListRecord>();
    Exchange(Response("GetDetectionWindowList", inner),
             [&] { return Call(DLL_WebServiceGetDetectionWindowList, &channel, &windows); });
    windows.resultCode = Pattern<DetectionWindowListRecord>().resultCode;
    EXPECT_TRUE(Untouched(windows)) << inner;
  }

  ParamListRecord roi = Pattern<ParamListRecord>();
  Exchange(Response("GetROIParam", "<GetROIParamResult></GetROIParamResult><resultCode>0</resultCode>"),
           [&] { return Call(DLL_WebServiceGetROIParam, &channel, &roi); });
  EXPECT_EQ(0, roi.count);
  ASSERT_NE(nullptr, roi.items);
  EXPECT_NE(Pattern<ParamListRecord>().items, roi.items);
  WebService_FreeItems(roi.items);

  // SetROIParam: count pairs in order, and an empty list element for 0.
  ParamRecord pairs[2] = {{"k1", "v&1"}, {"k2", "v2"}};
  ROIParamRequestRecord setRoi{1, 2, pairs};
  CallResult result;
  std::string sent = Exchange(Ok("SetROIParam"), [&] { return Call(DLL_WebServiceSetROIParam, &setRoi, &result); });
  EXPECT_NE(std::string::npos,
            sent.find("<ns1:SetROIParam><ns1:Param_T><ns1:key>k1</ns1:key><ns1:value>v&amp;1</ns1:value></ns1:Param_T>"
                      "<ns1:Param_T><ns1:key>k2</ns1:key><ns1:value>v2</ns1:value></ns1:Param_T></ns1:SetROIParam>"))
      << sent;
  setRoi.count = 0;
  sent = Exchange(Ok("SetROIParam"), [&] { return Call(DLL_WebServiceSetROIParam, &setRoi, &result); });
  EXPECT_NE(std::string::npos, sent.find("</ns1:channel><ns1:SetROIParam></ns1:SetROIParam></ns1:SetROIParam>")) << sent;
  EXPECT_EQ(std::string::npos, sent.find("Param_T"));
}

// Classification read back: absent parts keep the caller's values (the
// golden exchanges hold the request, the eight integers in wire order).
TEST_F(VideoAnalysisWire, ClassificationKeepsWhatTheAnswerLacks) {
  const int32_t channel = 2;
  ObjectClassificationParamRecord param = Pattern<ObjectClassificationParamRecord>();
  Exchange(Response("GetVAObjectClassificationParam",
                    "<GetVAObjectClassificationParamResult><classMode>2</classMode><classEnvMode>1</classEnvMode>"
                    "<classColorMinObjectSize><width>5</width><height>6</height><pixel>30</pixel></classColorMinObjectSize>"
                    "</GetVAObjectClassificationParamResult><resultCode>0</resultCode>"),
           [&] { return Call(DLL_WebServiceGetVAObjectClassificationParam, &channel, &param); });
  EXPECT_EQ(2, param.classMode);
  EXPECT_EQ(1, param.classEnvMode);
  EXPECT_EQ(30, param.classColorMinObjectSize.pixel);
  EXPECT_EQ(Pattern<ObjectClassificationParamRecord>().classMinObjectSize.width, param.classMinObjectSize.width);
  EXPECT_EQ(0, param.resultCode);
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

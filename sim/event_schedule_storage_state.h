// The simulated device's notification servers, device notifications, manual
// recordings and SD card.
#pragma once

#include <ctime>
#include <string>
#include <vector>

namespace sim {

struct FtpServer {
  std::string alias, serverAddress;
  int port = 21;
  std::string userID, password, folder;
};

struct SmtpServer {
  std::string alias, serverAddress;
  int port = 25;
  std::string userID, password, recipientAddress, adminAddress, subject, message;
  bool enableSSL = false;
};

// A target of a device notification (the kind and the alias it goes to).
struct NotificationTarget {
  int type = 0;
  std::string id;
};

// A recording on the SD card: one stream of one channel over a time range
// (UTC seconds, both ends included).
struct SdRecordingFile {
  std::string name;
  int channel = 0;
  bool master = true;
  std::time_t start = 0, end = 0;
  int megabytes = 0;
};

// A manual recording in progress on one stream.
struct ManualRecording {
  int channel = 0;
  bool master = true;
  int frameRate = 0, qualityType = 0, resolutionType = 0;
  std::time_t start = 0;
};

// The SD card's state values the device reports.
enum SdStatus { kSdMounted = 0, kSdUnmounted = 1 };

struct SdCard {
  std::string diskID = "SD-0001";
  int totalSpace = 32768;  // megabytes
  int status = kSdMounted;
  bool readOnly = false;
  std::vector<SdRecordingFile> files;  // oldest first
};

struct SdRecordingSchedule {
  int recordingType = 0;
  std::vector<int> timetable = std::vector<int>(48, 0);
  int channel = 1;
  bool master = true;
  bool networkFailureRecording = false;
  std::string recordingServerIP;
};

struct SdSettings {
  bool overwrite = true;
  bool diskFullNotification = false;
  std::string diskFullNotificationSMTPServerID;
};

// Copyable, with its defaults in the member initialisers.
struct EventScheduleStorageState {
  std::vector<FtpServer> ftpServers;
  std::vector<SmtpServer> smtpServers;
  std::string smtpNotification;  // alias of the SMTP server of the device's mail; empty: none
  std::vector<NotificationTarget> fanFailNotification;
  std::vector<NotificationTarget> diskFullNotification;
  int fanThreshold = 50;     // degrees Celsius the fan starts at
  int heaterThreshold = 5;   // degrees Celsius the heater starts below
  std::vector<ManualRecording> recordings;
  SdCard card;
  SdRecordingSchedule sdSchedule;
  SdSettings sdSettings;
  int nextFileNumber = 1;
};

}  // namespace sim

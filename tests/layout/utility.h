/* The records of Utility.h. */
SIZE(AudioClientRecord, 408); AT(AudioClientRecord, url, 100); AT(AudioClientRecord, port, 200);
AT(AudioClientRecord, userID, 204); AT(AudioClientRecord, password, 304); AT(AudioClientRecord, enableTcp, 404);
SIZE(LanguageRequestRecord, 104); AT(LanguageRequestRecord, language, 100);
SIZE(Language, 4);
CHECK(language_values, WS_LANGUAGE_KOREAN == 0 && WS_LANGUAGE_ENGLISH == 1);

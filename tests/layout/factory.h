/* The records of Factory.h. */
SIZE(FactoryCommandRecord, 513); AT(FactoryCommandRecord, password, 256); AT(FactoryCommandRecord, text, 512);
SIZE(FactoryTextRecord, 260); AT(FactoryTextRecord, resultCode, 256);

/* KeyListRecord holds a pointer: 8 bytes on 64-bit targets. */
#if defined(__x86_64__) || defined(__aarch64__)
SIZE(KeyListRecord, 16); AT(KeyListRecord, keys, 8);
#endif

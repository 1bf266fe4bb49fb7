// SdlPlatform: placeholder until the SDL layer lands.

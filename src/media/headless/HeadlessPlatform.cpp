// HeadlessPlatform: placeholder until the headless runner lands.

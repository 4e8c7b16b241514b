directories
  '*.dmf' = '\.';
  '*.par' = '\.';
  'panel.gif' = 'C:\LUMAR\OVLADACE\KADEX2\.';
end_directories;

settings
  skip_init_outputs = true;
  operation_mode = real_time;
  independent_procedure_execution = true;
end_settings;

const
end_const;

var
  prom1 = real, 0;
  tick1 = real, 0;
  tickset = real, 5;
end_var;

driver
  kadex = cwdrt485.dll, KADEX.DMF, KADEX.PAR;
end_driver;

channel
  AI6_1_AI0 = real, 100, kadex, input;
  AI6_1_PORUCHA = shortcard, 101, kadex, input;
  TEXTY_1_VYBER = shortcard, 102, kadex, output, 0;
  TEXTY_1_TEXT1 = string, 103, kadex, output, 0;
  TEXTY_1_TEXT2 = string, 104, kadex, bidirectional, 0;
  PID_1_W = real, 105, kadex, bidirectional, 0;
  PID_1_MAN = boolean, 106, kadex, output, 0;
  PID_1_KP = real, 107, kadex, bidirectional, 0;
  TERMOST_2_X = integer, 108, kadex, input;
  TERMOST_2_Q = boolean, 109, kadex, input;
  TERMOST_2_HYST = integer, 110, kadex, bidirectional, 0;
  PROJEKT_1_CRC32 = longint, 111, kadex, input;
  PROJEKT_1_VERZE = cardinal, 112, kadex, input;
  KAVLIN_1_STAV = shortcard, 113, kadex, input;
  CTU_1_PV = longcard, 114, kadex, bidirectional, 0;
  RAMPA_1_IN = shortreal, 115, kadex, output, 0;
  RAMPA_1_OUT = shortreal, 116, kadex, input;
  RAMPA_1_STRMOST = shortreal, 117, kadex, bidirectional, 0;

  AI6_1_AI0 = real, 100, kadex, input;
  AI6_1_PORUCHA = shortcard, 101, kadex, input;
  TEXTY_1_VYBER = shortcard, 102, kadex, output, 0;
  TEXTY_1_TEXT1 = string, 103, kadex, output, 0;
  TEXTY_1_TEXT2 = string, 104, kadex, bidirectional, 0;
  PID_1_W = real, 105, kadex, bidirectional, 0;
  PID_1_MAN = boolean, 106, kadex, output, 0;
  PID_1_KP = real, 107, kadex, bidirectional, 0;
  TERMOST_2_X = integer, 108, kadex, input;
  TERMOST_2_Q = boolean, 109, kadex, input;
  TERMOST_2_HYST = integer, 110, kadex, bidirectional, 0;
  PROJEKT_1_CRC32 = longint, 111, kadex, input;
  PROJEKT_1_VERZE = cardinal, 112, kadex, input;
  KAVLIN_1_STAV = shortcard, 113, kadex, input;
  CTU_1_PV = longcard, 114, kadex, bidirectional, 0;
  RAMPA_1_IN = shortreal, 115, kadex, output, 0;
  RAMPA_1_OUT = shortreal, 116, kadex, input;
  RAMPA_1_STRMOST = shortreal, 117, kadex, bidirectional, 0;
end_channel;

timer

  sequencer tick1sec;
    timer = 1;
  end_sequencer;

  selector sel_monitor;
    timer = tick1sec, 2;
    case
      start = tick1 >= tickset;
    end;
  end_selector;

end_timer;

instrument

  window panel panel_main;
    owner = background;
    position = 16, 32, 369, 424;
    win_title = 'VORTEL KADEX-RX7';
    dv_file = 'PANEL.GIF';
    container;
    follow_scrollbars;
  end_panel;

  meter meter_tick;
    timer = tick1sec, 3;
    owner = panel_main;
    position = 212, 8, 42, 19;
    expression = tickset - tick1;
    mode = text_display;
    low_limit = 0;
    high_limit = 100;
    dec_places = 0;
    font = 'Arial (Central European)', 10, bold;
    colors
      ink = black;
      paper = lgray;
      value = lgray;
      low_limit = lgray;
      high_limit = lgray;
    end_colors;
  end_meter;

  label label_tickset;
    owner = panel_main;
    position = 6, 10;
    font = 'MS Sans Serif (Central European)', 8, bold;
    text = 'Interval obnovy dat';
  end_label;

  control control_tickset;
    owner = panel_main;
    position = 126, 8, 80, 19;
    output = tickset;
    mode = count_box;
    range_from = 1;
    init_value = 5;
    dec_places = 0;
  end_control;

  meter meter_bar_tick;
    timer = tick1sec, 4;
    owner = panel_main;
    position = 126, 31, 128, 7;
    expression = tickset - tick1;
    mode = horizontal_bar;
    range_to = 10;
    low_limit = 0;
    high_limit = 10;
    dec_places = 0;
    font = 'Arial (Central European)', 10, bold;
    colors
      ink = black;
      low_limit = lgreen;
      high_limit = lgreen;
    end_colors;
  end_meter;

  label label_1;
    owner = panel_main;
    position = 9, 48;
    font = 'MS Sans Serif (Central European)', 8, normal;
    text = 'AI6_1_AI0 (In)';
  end_label;

  meter meter_1;
    timer = sel_monitor.start, 1;
    owner = panel_main;
    position = 174, 46, 80, 19;
    expression = AI6_1_AI0;
    mode = text_display;
    range_from = -1000000;
    range_to = 1000000;
    low_limit = 0;
    high_limit = 100;
    font = 'Arial (Central European)', 10, bold;
    colors
      ink = black;
      paper = lgray;
      value = lgray;
      low_limit = lgray;
      high_limit = lgray;
    end_colors;
  end_meter;

  label label_2;
    owner = panel_main;
    position = 9, 68;
    font = 'MS Sans Serif (Central European)', 8, normal;
    text = 'AI6_1_PORUCHA (In)';
  end_label;

  meter meter_2;
    timer = sel_monitor.start, 2;
    owner = panel_main;
    position = 174, 66, 80, 19;
    expression = AI6_1_PORUCHA;
    mode = text_display;
    range_from = -1000000;
    range_to = 1000000;
    low_limit = 0;
    high_limit = 100;
    font = 'Arial (Central European)', 10, bold;
    colors
      ink = black;
      paper = lgray;
      value = lgray;
      low_limit = lgray;
      high_limit = lgray;
    end_colors;
  end_meter;

  label label_3;
    owner = panel_main;
    position = 9, 88;
    font = 'MS Sans Serif (Central European)', 8, normal;
    text = 'TEXTY_1_VYBER (Out)';
  end_label;

  control control_3;
    owner = panel_main;
    position = 174, 86, 80, 19;
    output = TEXTY_1_VYBER;
    mode = count_box;
    range_from = -1000000;
    range_to = 1000000;
    dec_places = 2;
  end_control;

  label label_4;
    owner = panel_main;
    position = 9, 108;
    font = 'MS Sans Serif (Central European)', 8, normal;
    text = 'TEXTY_1_TEXT1 (Out)';
  end_label;

  label label_5;
    owner = panel_main;
    position = 9, 128;
    font = 'MS Sans Serif (Central European)', 8, normal;
    text = 'TEXTY_1_TEXT2 (I/O)';
  end_label;

  label label_6;
    owner = panel_main;
    position = 9, 148;
    font = 'MS Sans Serif (Central European)', 8, normal;
    text = 'PID_1_W (I/O)';
  end_label;

  meter meter_6;
    timer = sel_monitor.start, 6;
    owner = panel_main;
    position = 264, 146, 80, 19;
    expression = PID_1_W;
    mode = text_display;
    range_from = -1000000;
    range_to = 1000000;
    low_limit = 0;
    high_limit = 100;
    font = 'Arial (Central European)', 10, bold;
    colors
      ink = black;
      paper = lgray;
      value = lgray;
      low_limit = lgray;
      high_limit = lgray;
    end_colors;
  end_meter;

  control control_6;
    timer = sel_monitor.start, 6;
    owner = panel_main;
    position = 174, 146, 80, 19;
    output = PID_1_W;
    mode = count_box;
    range_from = -1000000;
    range_to = 1000000;
    dec_places = 2;
    auto_update;
  end_control;

  label label_7;
    owner = panel_main;
    position = 9, 168;
    font = 'MS Sans Serif (Central European)', 8, normal;
    text = 'PID_1_MAN (Out)';
  end_label;

  control control_7;
    owner = panel_main;
    position = 174, 166, 80, 19;
    output = PID_1_MAN;
    mode = count_box;
    range_from = -1000000;
    range_to = 1000000;
    dec_places = 2;
  end_control;

  label label_8;
    owner = panel_main;
    position = 9, 188;
    font = 'MS Sans Serif (Central European)', 8, normal;
    text = 'PID_1_KP (I/O)';
  end_label;

  meter meter_8;
    timer = sel_monitor.start, 8;
    owner = panel_main;
    position = 264, 186, 80, 19;
    expression = PID_1_KP;
    mode = text_display;
    range_from = -1000000;
    range_to = 1000000;
    low_limit = 0;
    high_limit = 100;
    font = 'Arial (Central European)', 10, bold;
    colors
      ink = black;
      paper = lgray;
      value = lgray;
      low_limit = lgray;
      high_limit = lgray;
    end_colors;
  end_meter;

  control control_8;
    timer = sel_monitor.start, 8;
    owner = panel_main;
    position = 174, 186, 80, 19;
    output = PID_1_KP;
    mode = count_box;
    range_from = -1000000;
    range_to = 1000000;
    init_value =    10.00;
    dec_places = 2;
    auto_update;
  end_control;

  label label_9;
    owner = panel_main;
    position = 9, 208;
    font = 'MS Sans Serif (Central European)', 8, normal;
    text = 'TERMOST_2_X (In)';
  end_label;

  meter meter_9;
    timer = sel_monitor.start, 9;
    owner = panel_main;
    position = 174, 206, 80, 19;
    expression = TERMOST_2_X;
    mode = text_display;
    range_from = -1000000;
    range_to = 1000000;
    low_limit = 0;
    high_limit = 100;
    font = 'Arial (Central European)', 10, bold;
    colors
      ink = black;
      paper = lgray;
      value = lgray;
      low_limit = lgray;
      high_limit = lgray;
    end_colors;
  end_meter;

  label label_10;
    owner = panel_main;
    position = 9, 228;
    font = 'MS Sans Serif (Central European)', 8, normal;
    text = 'TERMOST_2_Q (In)';
  end_label;

  meter meter_10;
    timer = sel_monitor.start, 10;
    owner = panel_main;
    position = 174, 226, 80, 19;
    expression = TERMOST_2_Q;
    mode = text_display;
    range_from = -1000000;
    range_to = 1000000;
    low_limit = 0;
    high_limit = 100;
    font = 'Arial (Central European)', 10, bold;
    colors
      ink = black;
      paper = lgray;
      value = lgray;
      low_limit = lgray;
      high_limit = lgray;
    end_colors;
  end_meter;

  label label_11;
    owner = panel_main;
    position = 9, 248;
    font = 'MS Sans Serif (Central European)', 8, normal;
    text = 'TERMOST_2_HYST (I/O)';
  end_label;

  meter meter_11;
    timer = sel_monitor.start, 11;
    owner = panel_main;
    position = 264, 246, 80, 19;
    expression = TERMOST_2_HYST;
    mode = text_display;
    range_from = -1000000;
    range_to = 1000000;
    low_limit = 0;
    high_limit = 100;
    font = 'Arial (Central European)', 10, bold;
    colors
      ink = black;
      paper = lgray;
      value = lgray;
      low_limit = lgray;
      high_limit = lgray;
    end_colors;
  end_meter;

  control control_11;
    timer = sel_monitor.start, 11;
    owner = panel_main;
    position = 174, 246, 80, 19;
    output = TERMOST_2_HYST;
    mode = count_box;
    range_from = -1000000;
    range_to = 1000000;
    init_value =      5;
    dec_places = 2;
    auto_update;
  end_control;

  label label_12;
    owner = panel_main;
    position = 9, 268;
    font = 'MS Sans Serif (Central European)', 8, normal;
    text = 'PROJEKT_1_CRC32 (In)';
  end_label;

  meter meter_12;
    timer = sel_monitor.start, 12;
    owner = panel_main;
    position = 174, 266, 80, 19;
    expression = PROJEKT_1_CRC32;
    mode = text_display;
    range_from = -1000000;
    range_to = 1000000;
    low_limit = 0;
    high_limit = 100;
    font = 'Arial (Central European)', 10, bold;
    colors
      ink = black;
      paper = lgray;
      value = lgray;
      low_limit = lgray;
      high_limit = lgray;
    end_colors;
  end_meter;

  label label_13;
    owner = panel_main;
    position = 9, 288;
    font = 'MS Sans Serif (Central European)', 8, normal;
    text = 'PROJEKT_1_VERZE (In)';
  end_label;

  meter meter_13;
    timer = sel_monitor.start, 13;
    owner = panel_main;
    position = 174, 286, 80, 19;
    expression = PROJEKT_1_VERZE;
    mode = text_display;
    range_from = -1000000;
    range_to = 1000000;
    low_limit = 0;
    high_limit = 100;
    font = 'Arial (Central European)', 10, bold;
    colors
      ink = black;
      paper = lgray;
      value = lgray;
      low_limit = lgray;
      high_limit = lgray;
    end_colors;
  end_meter;

  label label_14;
    owner = panel_main;
    position = 9, 308;
    font = 'MS Sans Serif (Central European)', 8, normal;
    text = 'KAVLIN_1_STAV (In)';
  end_label;

  meter meter_14;
    timer = sel_monitor.start, 14;
    owner = panel_main;
    position = 174, 306, 80, 19;
    expression = KAVLIN_1_STAV;
    mode = text_display;
    range_from = -1000000;
    range_to = 1000000;
    low_limit = 0;
    high_limit = 100;
    font = 'Arial (Central European)', 10, bold;
    colors
      ink = black;
      paper = lgray;
      value = lgray;
      low_limit = lgray;
      high_limit = lgray;
    end_colors;
  end_meter;

  label label_15;
    owner = panel_main;
    position = 9, 328;
    font = 'MS Sans Serif (Central European)', 8, normal;
    text = 'CTU_1_PV (I/O)';
  end_label;

  meter meter_15;
    timer = sel_monitor.start, 15;
    owner = panel_main;
    position = 264, 326, 80, 19;
    expression = CTU_1_PV;
    mode = text_display;
    range_from = -1000000;
    range_to = 1000000;
    low_limit = 0;
    high_limit = 100;
    font = 'Arial (Central European)', 10, bold;
    colors
      ink = black;
      paper = lgray;
      value = lgray;
      low_limit = lgray;
      high_limit = lgray;
    end_colors;
  end_meter;

  control control_15;
    timer = sel_monitor.start, 15;
    owner = panel_main;
    position = 174, 326, 80, 19;
    output = CTU_1_PV;
    mode = count_box;
    range_from = -1000000;
    range_to = 1000000;
    init_value = 3000000000;
    dec_places = 2;
    auto_update;
  end_control;

  label label_16;
    owner = panel_main;
    position = 9, 348;
    font = 'MS Sans Serif (Central European)', 8, normal;
    text = 'RAMPA_1_IN (Out)';
  end_label;

  control control_16;
    owner = panel_main;
    position = 174, 346, 80, 19;
    output = RAMPA_1_IN;
    mode = count_box;
    range_from = -1000000;
    range_to = 1000000;
    dec_places = 2;
  end_control;

  label label_17;
    owner = panel_main;
    position = 9, 368;
    font = 'MS Sans Serif (Central European)', 8, normal;
    text = 'RAMPA_1_OUT (In)';
  end_label;

  meter meter_17;
    timer = sel_monitor.start, 17;
    owner = panel_main;
    position = 174, 366, 80, 19;
    expression = RAMPA_1_OUT;
    mode = text_display;
    range_from = -1000000;
    range_to = 1000000;
    low_limit = 0;
    high_limit = 100;
    font = 'Arial (Central European)', 10, bold;
    colors
      ink = black;
      paper = lgray;
      value = lgray;
      low_limit = lgray;
      high_limit = lgray;
    end_colors;
  end_meter;

  label label_18;
    owner = panel_main;
    position = 9, 388;
    font = 'MS Sans Serif (Central European)', 8, normal;
    text = 'RAMPA_1_STRMOST (I/O)';
  end_label;

  meter meter_18;
    timer = sel_monitor.start, 18;
    owner = panel_main;
    position = 264, 386, 80, 19;
    expression = RAMPA_1_STRMOST;
    mode = text_display;
    range_from = -1000000;
    range_to = 1000000;
    low_limit = 0;
    high_limit = 100;
    font = 'Arial (Central European)', 10, bold;
    colors
      ink = black;
      paper = lgray;
      value = lgray;
      low_limit = lgray;
      high_limit = lgray;
    end_colors;
  end_meter;

  control control_18;
    timer = sel_monitor.start, 18;
    owner = panel_main;
    position = 174, 386, 80, 19;
    output = RAMPA_1_STRMOST;
    mode = count_box;
    range_from = -1000000;
    range_to = 1000000;
    init_value =       1.500;
    dec_places = 2;
    auto_update;
  end_control;

  label label_19;
    owner = panel_main;
    position = 9, 408;
    font = 'MS Sans Serif (Central European)', 8, normal;
    text = 'AI6_1_AI0 (In)';
  end_label;

  meter meter_19;
    timer = sel_monitor.start, 19;
    owner = panel_main;
    position = 174, 406, 80, 19;
    expression = AI6_1_AI0;
    mode = text_display;
    range_from = -1000000;
    range_to = 1000000;
    low_limit = 0;
    high_limit = 100;
    font = 'Arial (Central European)', 10, bold;
    colors
      ink = black;
      paper = lgray;
      value = lgray;
      low_limit = lgray;
      high_limit = lgray;
    end_colors;
  end_meter;

  label label_20;
    owner = panel_main;
    position = 9, 428;
    font = 'MS Sans Serif (Central European)', 8, normal;
    text = 'AI6_1_PORUCHA (In)';
  end_label;

  meter meter_20;
    timer = sel_monitor.start, 20;
    owner = panel_main;
    position = 174, 426, 80, 19;
    expression = AI6_1_PORUCHA;
    mode = text_display;
    range_from = -1000000;
    range_to = 1000000;
    low_limit = 0;
    high_limit = 100;
    font = 'Arial (Central European)', 10, bold;
    colors
      ink = black;
      paper = lgray;
      value = lgray;
      low_limit = lgray;
      high_limit = lgray;
    end_colors;
  end_meter;

  label label_21;
    owner = panel_main;
    position = 9, 448;
    font = 'MS Sans Serif (Central European)', 8, normal;
    text = 'TEXTY_1_VYBER (Out)';
  end_label;

  control control_21;
    owner = panel_main;
    position = 174, 446, 80, 19;
    output = TEXTY_1_VYBER;
    mode = count_box;
    range_from = -1000000;
    range_to = 1000000;
    dec_places = 2;
  end_control;

  label label_22;
    owner = panel_main;
    position = 9, 468;
    font = 'MS Sans Serif (Central European)', 8, normal;
    text = 'TEXTY_1_TEXT1 (Out)';
  end_label;

  label label_23;
    owner = panel_main;
    position = 9, 488;
    font = 'MS Sans Serif (Central European)', 8, normal;
    text = 'TEXTY_1_TEXT2 (I/O)';
  end_label;

  label label_24;
    owner = panel_main;
    position = 9, 508;
    font = 'MS Sans Serif (Central European)', 8, normal;
    text = 'PID_1_W (I/O)';
  end_label;

  meter meter_24;
    timer = sel_monitor.start, 24;
    owner = panel_main;
    position = 264, 506, 80, 19;
    expression = PID_1_W;
    mode = text_display;
    range_from = -1000000;
    range_to = 1000000;
    low_limit = 0;
    high_limit = 100;
    font = 'Arial (Central European)', 10, bold;
    colors
      ink = black;
      paper = lgray;
      value = lgray;
      low_limit = lgray;
      high_limit = lgray;
    end_colors;
  end_meter;

  control control_24;
    timer = sel_monitor.start, 24;
    owner = panel_main;
    position = 174, 506, 80, 19;
    output = PID_1_W;
    mode = count_box;
    range_from = -1000000;
    range_to = 1000000;
    dec_places = 2;
    auto_update;
  end_control;

  label label_25;
    owner = panel_main;
    position = 9, 528;
    font = 'MS Sans Serif (Central European)', 8, normal;
    text = 'PID_1_MAN (Out)';
  end_label;

  control control_25;
    owner = panel_main;
    position = 174, 526, 80, 19;
    output = PID_1_MAN;
    mode = count_box;
    range_from = -1000000;
    range_to = 1000000;
    dec_places = 2;
  end_control;

  label label_26;
    owner = panel_main;
    position = 9, 548;
    font = 'MS Sans Serif (Central European)', 8, normal;
    text = 'PID_1_KP (I/O)';
  end_label;

  meter meter_26;
    timer = sel_monitor.start, 26;
    owner = panel_main;
    position = 264, 546, 80, 19;
    expression = PID_1_KP;
    mode = text_display;
    range_from = -1000000;
    range_to = 1000000;
    low_limit = 0;
    high_limit = 100;
    font = 'Arial (Central European)', 10, bold;
    colors
      ink = black;
      paper = lgray;
      value = lgray;
      low_limit = lgray;
      high_limit = lgray;
    end_colors;
  end_meter;

  control control_26;
    timer = sel_monitor.start, 26;
    owner = panel_main;
    position = 174, 546, 80, 19;
    output = PID_1_KP;
    mode = count_box;
    range_from = -1000000;
    range_to = 1000000;
    init_value =    10.00;
    dec_places = 2;
    auto_update;
  end_control;

  label label_27;
    owner = panel_main;
    position = 9, 568;
    font = 'MS Sans Serif (Central European)', 8, normal;
    text = 'TERMOST_2_X (In)';
  end_label;

  meter meter_27;
    timer = sel_monitor.start, 27;
    owner = panel_main;
    position = 174, 566, 80, 19;
    expression = TERMOST_2_X;
    mode = text_display;
    range_from = -1000000;
    range_to = 1000000;
    low_limit = 0;
    high_limit = 100;
    font = 'Arial (Central European)', 10, bold;
    colors
      ink = black;
      paper = lgray;
      value = lgray;
      low_limit = lgray;
      high_limit = lgray;
    end_colors;
  end_meter;

  label label_28;
    owner = panel_main;
    position = 9, 588;
    font = 'MS Sans Serif (Central European)', 8, normal;
    text = 'TERMOST_2_Q (In)';
  end_label;

  meter meter_28;
    timer = sel_monitor.start, 28;
    owner = panel_main;
    position = 174, 586, 80, 19;
    expression = TERMOST_2_Q;
    mode = text_display;
    range_from = -1000000;
    range_to = 1000000;
    low_limit = 0;
    high_limit = 100;
    font = 'Arial (Central European)', 10, bold;
    colors
      ink = black;
      paper = lgray;
      value = lgray;
      low_limit = lgray;
      high_limit = lgray;
    end_colors;
  end_meter;

  label label_29;
    owner = panel_main;
    position = 9, 608;
    font = 'MS Sans Serif (Central European)', 8, normal;
    text = 'TERMOST_2_HYST (I/O)';
  end_label;

  meter meter_29;
    timer = sel_monitor.start, 29;
    owner = panel_main;
    position = 264, 606, 80, 19;
    expression = TERMOST_2_HYST;
    mode = text_display;
    range_from = -1000000;
    range_to = 1000000;
    low_limit = 0;
    high_limit = 100;
    font = 'Arial (Central European)', 10, bold;
    colors
      ink = black;
      paper = lgray;
      value = lgray;
      low_limit = lgray;
      high_limit = lgray;
    end_colors;
  end_meter;

  control control_29;
    timer = sel_monitor.start, 29;
    owner = panel_main;
    position = 174, 606, 80, 19;
    output = TERMOST_2_HYST;
    mode = count_box;
    range_from = -1000000;
    range_to = 1000000;
    init_value =      5;
    dec_places = 2;
    auto_update;
  end_control;

  label label_30;
    owner = panel_main;
    position = 9, 628;
    font = 'MS Sans Serif (Central European)', 8, normal;
    text = 'PROJEKT_1_CRC32 (In)';
  end_label;

  meter meter_30;
    timer = sel_monitor.start, 30;
    owner = panel_main;
    position = 174, 626, 80, 19;
    expression = PROJEKT_1_CRC32;
    mode = text_display;
    range_from = -1000000;
    range_to = 1000000;
    low_limit = 0;
    high_limit = 100;
    font = 'Arial (Central European)', 10, bold;
    colors
      ink = black;
      paper = lgray;
      value = lgray;
      low_limit = lgray;
      high_limit = lgray;
    end_colors;
  end_meter;

  label label_31;
    owner = panel_main;
    position = 9, 648;
    font = 'MS Sans Serif (Central European)', 8, normal;
    text = 'PROJEKT_1_VERZE (In)';
  end_label;

  meter meter_31;
    timer = sel_monitor.start, 31;
    owner = panel_main;
    position = 174, 646, 80, 19;
    expression = PROJEKT_1_VERZE;
    mode = text_display;
    range_from = -1000000;
    range_to = 1000000;
    low_limit = 0;
    high_limit = 100;
    font = 'Arial (Central European)', 10, bold;
    colors
      ink = black;
      paper = lgray;
      value = lgray;
      low_limit = lgray;
      high_limit = lgray;
    end_colors;
  end_meter;

  label label_32;
    owner = panel_main;
    position = 9, 668;
    font = 'MS Sans Serif (Central European)', 8, normal;
    text = 'KAVLIN_1_STAV (In)';
  end_label;

  meter meter_32;
    timer = sel_monitor.start, 32;
    owner = panel_main;
    position = 174, 666, 80, 19;
    expression = KAVLIN_1_STAV;
    mode = text_display;
    range_from = -1000000;
    range_to = 1000000;
    low_limit = 0;
    high_limit = 100;
    font = 'Arial (Central European)', 10, bold;
    colors
      ink = black;
      paper = lgray;
      value = lgray;
      low_limit = lgray;
      high_limit = lgray;
    end_colors;
  end_meter;

  label label_33;
    owner = panel_main;
    position = 9, 688;
    font = 'MS Sans Serif (Central European)', 8, normal;
    text = 'CTU_1_PV (I/O)';
  end_label;

  meter meter_33;
    timer = sel_monitor.start, 33;
    owner = panel_main;
    position = 264, 686, 80, 19;
    expression = CTU_1_PV;
    mode = text_display;
    range_from = -1000000;
    range_to = 1000000;
    low_limit = 0;
    high_limit = 100;
    font = 'Arial (Central European)', 10, bold;
    colors
      ink = black;
      paper = lgray;
      value = lgray;
      low_limit = lgray;
      high_limit = lgray;
    end_colors;
  end_meter;

  control control_33;
    timer = sel_monitor.start, 33;
    owner = panel_main;
    position = 174, 686, 80, 19;
    output = CTU_1_PV;
    mode = count_box;
    range_from = -1000000;
    range_to = 1000000;
    init_value = 3000000000;
    dec_places = 2;
    auto_update;
  end_control;

  label label_34;
    owner = panel_main;
    position = 9, 708;
    font = 'MS Sans Serif (Central European)', 8, normal;
    text = 'RAMPA_1_IN (Out)';
  end_label;

  control control_34;
    owner = panel_main;
    position = 174, 706, 80, 19;
    output = RAMPA_1_IN;
    mode = count_box;
    range_from = -1000000;
    range_to = 1000000;
    dec_places = 2;
  end_control;

  label label_35;
    owner = panel_main;
    position = 9, 728;
    font = 'MS Sans Serif (Central European)', 8, normal;
    text = 'RAMPA_1_OUT (In)';
  end_label;

  meter meter_35;
    timer = sel_monitor.start, 35;
    owner = panel_main;
    position = 174, 726, 80, 19;
    expression = RAMPA_1_OUT;
    mode = text_display;
    range_from = -1000000;
    range_to = 1000000;
    low_limit = 0;
    high_limit = 100;
    font = 'Arial (Central European)', 10, bold;
    colors
      ink = black;
      paper = lgray;
      value = lgray;
      low_limit = lgray;
      high_limit = lgray;
    end_colors;
  end_meter;

  label label_36;
    owner = panel_main;
    position = 9, 748;
    font = 'MS Sans Serif (Central European)', 8, normal;
    text = 'RAMPA_1_STRMOST (I/O)';
  end_label;

  meter meter_36;
    timer = sel_monitor.start, 36;
    owner = panel_main;
    position = 264, 746, 80, 19;
    expression = RAMPA_1_STRMOST;
    mode = text_display;
    range_from = -1000000;
    range_to = 1000000;
    low_limit = 0;
    high_limit = 100;
    font = 'Arial (Central European)', 10, bold;
    colors
      ink = black;
      paper = lgray;
      value = lgray;
      low_limit = lgray;
      high_limit = lgray;
    end_colors;
  end_meter;

  control control_36;
    timer = sel_monitor.start, 36;
    owner = panel_main;
    position = 174, 746, 80, 19;
    output = RAMPA_1_STRMOST;
    mode = count_box;
    range_from = -1000000;
    range_to = 1000000;
    init_value =       1.500;
    dec_places = 2;
    auto_update;
  end_control;

  program program_tick1sec;
    timer = tick1sec, 1;

    procedure OnActivate();
    begin
      tick1 = tick1 + 1;
      if tick1 > tickset then
        tick1 = 0;
      end;
    end_procedure;

  end_program;

end_instrument;


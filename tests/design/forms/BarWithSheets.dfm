object Form1: TForm
  Left = 100
  Top = 100
  Width = 400
  Height = 360
  object Launchdeck1: TLaunchdeck
    Left = 0
    Top = 0
    Width = 84
    Height = 333
    ActiveSheet = ShortcutSheet2
    object ShortcutSheet1: TShortcutSheet
      Caption = 'Programs'
    end
    object ShortcutSheet2: TShortcutSheet
      Caption = 'Tools'
    end
  end
end

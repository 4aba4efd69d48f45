object SampleForm: TSampleForm
  Left = 301
  Top = 300
  BorderStyle = bsDialog
  Caption = 'Launchdeck sample form'
  ClientHeight = 240
  ClientWidth = 320
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OldCreateOrder = False
  Position = poScreenCenter
  OnShow = FormShow
  PixelsPerInch = 96
  TextHeight = 13
  object Launchdeck1: TLaunchdeck
    Left = 0
    Top = 0
    Width = 84
    Height = 240
    Align = alLeft
    Options = [soButtonTabs, soHotTabs, soAnimatedSheets]
    TabColor = clBtnFace
    OnChange = Launchdeck1Change
    object ShortcutSheet1: TShortcutSheet
      Caption = 'Mail'
      object ShortcutList1: TShortcutList
        Left = 0
        Top = 0
        Width = 80
        Height = 170
        Images = ImageList1
        Items.Items = (
          '1.7'
          2
          'Inbox'
          0
          0
          True
          'Sent items'
          1
          7
          False)
        OnClick = ShortcutList1Click
      end
    end
    object ShortcutSheet2: TShortcutSheet
      Caption = 'Notes'
    end
  end
  object Memo1: TMemo
    Left = 92
    Top = 8
    Width = 220
    Height = 120
    Lines.Strings = (
      'Line one'
      'It'#39's the second line, with a tab'#9'inside'
      
        'A line long enough to be cut: it goes on and on past the sixty-f' +
        'our character mark')
    TabOrder = 0
  end
  object StatusBar1: TStatusBar
    Panels = <
      item
        Width = 50
      end
      item
        Text = 'Ready'
        Width = 120
      end>
  end
  object ImageList1: TImageList
    Left = 200
    Top = 160
    Bitmap = {
      494C010102000400040010001000FFFFFFFFFF10FFFFFFFFFFFFFFFF424D3600
      0000000000003600000028000000400000001000000001002000000000000010}
  end
end

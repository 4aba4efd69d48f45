object HelloForm: THelloForm
  Left = 40
  Top = 40
  Caption = 'Hello Launchdeck'
  ClientHeight = 300
  ClientWidth = 380
  Color = clBtnFace
  OnCreate = FormCreate
  object Bar: TLaunchdeck
    Left = 0
    Top = 0
    Width = 150
    Height = 300
    ActiveSheet = SheetPlaces
    object SheetPlaces: TShortcutSheet
      Caption = '&Places'
      object ListPlaces: TShortcutList
        Left = 0
        Top = 0
        Width = 150
        Height = 200
        Items.Items = (
          '1.7'
          4
          'Home'
          0
          0
          True
          'Documents'
          1
          0
          True
          'Music'
          2
          0
          True
          'Pictures'
          3
          0
          True)
        OnClick = ListClick
      end
    end
    object SheetOffice: TShortcutSheet
      Caption = '&Office'
      object ListOffice: TShortcutList
        Left = 0
        Top = 0
        Width = 150
        Height = 200
        Items.Items = (
          '1.7'
          3
          'Calendar'
          4
          0
          True
          'Address Book'
          5
          0
          True
          'Spreadsheet'
          6
          0
          True)
        Style = ssSmallImages
        OnClick = ListClick
      end
    end
    object SheetSystem: TShortcutSheet
      Caption = '&System'
      object ListSystem: TShortcutList
        Left = 0
        Top = 0
        Width = 150
        Height = 200
        Items.Items = (
          '1.7'
          3
          'Computer'
          7
          0
          True
          'Printer'
          8
          0
          True
          'Trash'
          9
          0
          True)
        OnClick = ListClick
      end
    end
  end
  object Hint: TLabel
    Left = 168
    Top = 16
    Width = 200
    Height = 16
    Caption = 'Click an icon at the left.'
  end
  object Clicked: TLabel
    Left = 168
    Top = 40
    Width = 200
    Height = 16
    Caption = 'Nothing clicked yet.'
  end
end

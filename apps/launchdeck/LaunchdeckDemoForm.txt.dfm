object LaunchdeckDemoForm: TLaunchdeckDemoForm
  Left = 40
  Top = 40
  Caption = 'Launchdeck demo'
  ClientHeight = 420
  ClientWidth = 600
  Color = clBtnFace
  KeyPreview = True
  OnCreate = FormCreate
  OnKeyDown = FormKeyDown
  object Bar: TLaunchdeck
    Left = 0
    Top = 0
    Width = 160
    Height = 420
    ActiveSheet = SheetPlaces
    Options = [soFlatTabs, soButtonTabs, soAnimatedSheets]
    OnChange = BarChange
    OnChanging = BarChanging
    OnDragDrop = BarDragDrop
    OnDragOver = BarDragOver
    OnEndDrag = ControlEndDrag
    OnEnter = ControlEnter
    OnExit = ControlExit
    OnMouseDown = ControlMouseDown
    OnMouseMove = ControlMouseMove
    OnMouseUp = ControlMouseUp
    OnStartDrag = ControlStartDrag
    object SheetPlaces: TShortcutSheet
      Caption = '&Places'
      object ListPlaces: TShortcutList
        Left = 0
        Top = 0
        Width = 150
        Height = 300
        Items.Items = (
          '1.7'
          10
          'Home'
          0
          0
          True
          'Documents'
          1
          1
          True
          'Music'
          2
          2
          True
          'Pictures'
          3
          3
          True
          'Network Server'
          8
          4
          True
          'Trash'
          9
          5
          True
          'Computer'
          6
          6
          True
          'Printer'
          7
          7
          True
          'Calendar'
          4
          8
          True
          'Address Book'
          5
          9
          True)
        OnAcceptItem = ListAcceptItem
        OnClick = ListClick
        OnEndDrag = ControlEndDrag
        OnEnter = ControlEnter
        OnExit = ControlExit
        OnMouseDown = ControlMouseDown
        OnMouseMove = ControlMouseMove
        OnMouseUp = ControlMouseUp
        OnReorder = ListReorder
        OnReordering = ListReordering
        OnStartDrag = ControlStartDrag
      end
    end
    object SheetOffice: TShortcutSheet
      Caption = '&Office'
      object ListOffice: TShortcutList
        Left = 0
        Top = 0
        Width = 150
        Height = 300
        Items.Items = (
          '1.7'
          4
          'Calendar'
          4
          0
          True
          'Address Book'
          5
          1
          True
          'Documents'
          1
          2
          True
          'Printer'
          7
          3
          True)
        Style = ssSmallImages
        OnAcceptItem = ListAcceptItem
        OnClick = ListClick
        OnEndDrag = ControlEndDrag
        OnEnter = ControlEnter
        OnExit = ControlExit
        OnMouseDown = ControlMouseDown
        OnMouseMove = ControlMouseMove
        OnMouseUp = ControlMouseUp
        OnReorder = ListReorder
        OnReordering = ListReordering
        OnStartDrag = ControlStartDrag
      end
    end
    object SheetDevices: TShortcutSheet
      Caption = '&Devices'
      object ListDevices: TShortcutList
        Left = 0
        Top = 0
        Width = 150
        Height = 300
        Items.Items = (
          '1.7'
          3
          'Computer'
          6
          0
          True
          'Printer'
          7
          1
          True
          'Server'
          8
          2
          True)
        OnAcceptItem = ListAcceptItem
        OnClick = ListClick
        OnEndDrag = ControlEndDrag
        OnEnter = ControlEnter
        OnExit = ControlExit
        OnMouseDown = ControlMouseDown
        OnMouseMove = ControlMouseMove
        OnMouseUp = ControlMouseUp
        OnReorder = ListReorder
        OnReordering = ListReordering
        OnStartDrag = ControlStartDrag
      end
    end
    object SheetNetwork: TShortcutSheet
      Caption = '&Network'
      object ListNetwork: TShortcutList
        Left = 0
        Top = 0
        Width = 150
        Height = 300
        Items.Items = (
          '1.7'
          3
          'Server'
          8
          0
          True
          'Shared Music'
          2
          1
          True
          'Shared Pictures'
          3
          2
          True)
        Style = ssSmallImages
        OnAcceptItem = ListAcceptItem
        OnClick = ListClick
        OnEndDrag = ControlEndDrag
        OnEnter = ControlEnter
        OnExit = ControlExit
        OnMouseDown = ControlMouseDown
        OnMouseMove = ControlMouseMove
        OnMouseUp = ControlMouseUp
        OnReorder = ListReorder
        OnReordering = ListReordering
        OnStartDrag = ControlStartDrag
      end
    end
  end
  object LogLabel: TLabel
    Left = 168
    Top = 6
    Width = 300
    Height = 13
    Caption = 'Events (the log keeps the last 10,000 lines):'
  end
  object Log: TMemo
    Left = 168
    Top = 22
    Width = 424
    Height = 354
    ReadOnly = True
    ScrollBars = ssVertical
    TabStop = False
    TabOrder = 0
  end
  object FlatTabsBox: TCheckBox
    Left = 168
    Top = 388
    Width = 100
    Height = 17
    Caption = 'Flat tabs'
    TabOrder = 1
    OnClick = OptionBoxClick
  end
  object ButtonTabsBox: TCheckBox
    Tag = 1
    Left = 276
    Top = 388
    Width = 100
    Height = 17
    Caption = 'Button tabs'
    TabOrder = 2
    OnClick = OptionBoxClick
  end
  object HotTabsBox: TCheckBox
    Tag = 2
    Left = 384
    Top = 388
    Width = 100
    Height = 17
    Caption = 'Hot tabs'
    TabOrder = 3
    OnClick = OptionBoxClick
  end
  object FullSelectBox: TCheckBox
    Tag = 3
    Left = 492
    Top = 388
    Width = 100
    Height = 17
    Caption = 'Full select'
    TabOrder = 4
    OnClick = OptionBoxClick
  end
end

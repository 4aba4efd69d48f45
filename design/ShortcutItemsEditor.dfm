object ShortcutItemsEditorForm: TShortcutItemsEditorForm
  Left = 301
  Top = 300
  BorderStyle = bsDialog
  Caption = 'ShortcutList Items Editor'
  ClientHeight = 189
  ClientWidth = 403
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Position = poScreenCenter
  OnDestroy = FormDestroy
  OnShow = FormShow
  PixelsPerInch = 96
  TextHeight = 13
  object gbItems: TGroupBox
    Left = 8
    Top = 4
    Width = 217
    Height = 141
    Caption = '&Items'
    TabOrder = 0
    object tvItems: TTreeView
      Left = 8
      Top = 16
      Width = 121
      Height = 117
      HideSelection = False
      Indent = 19
      ReadOnly = True
      TabOrder = 0
      OnChange = tvItemsChange
      OnDragDrop = tvItemsDragDrop
      OnDragOver = tvItemsDragOver
      OnMouseDown = tvItemsMouseDown
    end
    object btNewItem: TButton
      Left = 136
      Top = 34
      Width = 75
      Height = 25
      Caption = '&New Item'
      Default = True
      TabOrder = 1
      OnClick = btNewItemClick
    end
    object btDelete: TButton
      Left = 136
      Top = 70
      Width = 75
      Height = 25
      Caption = '&Delete'
      TabOrder = 2
      OnClick = btDeleteClick
    end
  end
  object gbProperties: TGroupBox
    Left = 232
    Top = 8
    Width = 165
    Height = 137
    Caption = 'Item &Properties'
    TabOrder = 1
    object Label1: TLabel
      Left = 8
      Top = 24
      Width = 39
      Height = 13
      Caption = 'Caption:'
    end
    object Label2: TLabel
      Left = 8
      Top = 52
      Width = 61
      Height = 13
      Caption = 'Image Index:'
    end
    object Label3: TLabel
      Left = 8
      Top = 80
      Width = 22
      Height = 13
      Caption = 'Tag:'
    end
    object Label4: TLabel
      Left = 8
      Top = 108
      Width = 42
      Height = 13
      Caption = 'Enabled:'
    end
    object etCaption: TEdit
      Left = 76
      Top = 20
      Width = 79
      Height = 21
      Enabled = False
      TabOrder = 0
      OnChange = etCaptionChange
    end
    object etImageIndex: TEdit
      Left = 76
      Top = 48
      Width = 39
      Height = 21
      Enabled = False
      TabOrder = 1
      OnChange = etImageIndexChange
    end
    object etTag: TEdit
      Left = 76
      Top = 76
      Width = 39
      Height = 21
      Enabled = False
      TabOrder = 2
      OnChange = etTagChange
    end
    object cbEnabled: TComboBox
      Left = 76
      Top = 104
      Width = 79
      Height = 21
      Style = csDropDownList
      ItemHeight = 13
      Items.Strings = (
        'False'
        'True')
      TabOrder = 3
      OnChange = cbEnabledChange
    end
  end
  object btOK: TButton
    Left = 156
    Top = 156
    Width = 75
    Height = 25
    Caption = 'OK'
    TabOrder = 2
    OnClick = btOKClick
  end
  object btCancel: TButton
    Left = 240
    Top = 156
    Width = 75
    Height = 25
    Cancel = True
    Caption = 'Cancel'
    ModalResult = 2
    TabOrder = 3
  end
  object btApply: TButton
    Left = 324
    Top = 156
    Width = 75
    Height = 25
    Caption = 'Apply'
    TabOrder = 4
    OnClick = btOKClick
  end
end

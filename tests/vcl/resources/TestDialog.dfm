object TestDialog: TTestDialog
  Left = 301
  Top = 300
  BorderStyle = bsDialog
  Caption = 'Test Dialog'
  ClientHeight = 189
  ClientWidth = 403
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OldCreateOrder = True
  Position = poScreenCenter
  OnCreate = FormCreate
  OnDestroy = FormDestroy
  PixelsPerInch = 96
  TextHeight = 13
  object Group: TTestBox
    Left = 8
    Top = 4
    Width = 217
    Height = 141
    Caption = '&Items'
    TabOrder = 2
    object Second: TTestBox
      Left = 8
      Top = 60
      Width = 121
      Height = 40
      TabOrder = 1
      TabStop = True
    end
    object First: TTestBox
      Left = 8
      Top = 16
      Width = 121
      Height = 40
      TabOrder = 0
      TabStop = True
    end
  end
  object Ok: TTestButton
    Left = 240
    Top = 156
    Width = 75
    Height = 25
    Caption = 'OK'
    Default = True
    ModalResult = 1
    TabOrder = 0
    OnClick = OkClick
  end
  object Cancel: TTestButton
    Left = 324
    Top = 156
    Width = 75
    Height = 25
    Cancel = True
    Caption = '&Cancel'
    ModalResult = 2
    TabOrder = 1
  end
end

object ModuleDialog: TModuleDialog
  Caption = 'From the module'
  object Panel: TModulePanel
    Left = 4
    Top = 4
    Width = 50
    Height = 20
  end
end
